// Placeholder until the conversion commands land.
#include "cli/Commands.h"

namespace velkor::cli {
void AddConvertCommands(CLI::App&, CliContext&) {}
}  // namespace velkor::cli
