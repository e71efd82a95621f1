// Placeholder until the pipeline commands land.
#include "cli/Commands.h"

namespace velkor::cli {
void AddPipelineCommands(CLI::App&, CliContext&) {}
}  // namespace velkor::cli
