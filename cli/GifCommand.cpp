// `gif IN.srf OUT.gif`: the turning icon as a looping animated GIF.
#include <iostream>
#include <memory>

#include "cli/CliProgress.h"
#include "cli/Commands.h"
#include "jobs/SrfOutputs.h"
#include "platform/Files.h"

namespace velkor::cli {

void AddGifCommand(CLI::App& app, CliContext& context) {
  auto paths = std::make_shared<std::pair<std::string, std::string>>();
  auto* sub = app.add_subcommand(
      "gif", "Save the 36 headings of an SRF file's 3D set as a looping animated GIF over a map-like background");
  sub->add_option("IN.srf", paths->first, "SRF or animated SRF file to read")->required();
  sub->add_option("OUT.gif", paths->second, "GIF file to write")->required();
  sub->callback([&context, paths] {
    const std::string out = platform::AbsolutePath(paths->second);
    CliProgress progress(std::cerr, true);
    if (const Result<Done> written = WriteGif(platform::AbsolutePath(paths->first), out, progress); !written) {
      progress.Error(written.failure().Reason());
      context.exitCode = 1;
      return;
    }
    std::cout << "gif: " << out << '\n';
  });
}

}  // namespace velkor::cli
