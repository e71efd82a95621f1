// velkor-cli: the window's commands without the window, for scripts and for
// the build. Exit status 0 success, 1 failure, 2 usage error.
#include <malloc.h>

#include <iostream>

#include "cli/Commands.h"
#include "platform/Interruption.h"

namespace {

int Run(int argc, char** argv) {
  // Before any thread starts: Ctrl-C and SIGTERM end the model loader and
  // remove temporary folders before the program ends.
  velkor::platform::CleanUpOnInterrupt();
  // A command reads frames and makes rasters of a few hundred kB one after
  // another. Kept in the heap once freed, the next one reuses the same pages
  // instead of mapping fresh ones and faulting each page in again; strips of
  // tens of MB are still mapped on their own and returned when freed.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  mallopt(M_TRIM_THRESHOLD, 32 << 20);
  CLI::App app{"Velkor: Garmin SRF vehicle icons from rendered frames, and SRF <-> PNG conversions."};
  app.require_subcommand(1);
  velkor::cli::CliContext context;
  velkor::cli::AddAssetCommands(app, context);
  velkor::cli::AddConvertCommands(app, context);
  velkor::cli::AddPipelineCommands(app, context);
  velkor::cli::AddThumbnailCommand(app, context);
  velkor::cli::AddSendToDeviceCommand(app, context);
  velkor::cli::AddGifCommand(app, context);
  velkor::cli::AddRenderCommands(app, context);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }
  return context.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever a command or setting up the commands raises ends the program
  // with a message and status 1, never with std::terminate.
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "error: an unknown failure\n";
  }
  return 1;
}
