// `thumbnail IN OUT SIZE`: the Exec line of the desktop's thumbnailer for
// SRF files. File managers run it on every file that claims to be an SRF, so
// a bad file ends quickly with status 1 and no output file.
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "convert/SrfThumbnail.h"
#include "jobs/SrfOutputs.h"

namespace velkor::cli {

namespace {
struct ThumbnailArgs {
  std::string in, out;
  int size = 0;
};
}  // namespace

void AddThumbnailCommand(CLI::App& app, CliContext& context) {
  auto args = std::make_shared<ThumbnailArgs>();
  auto* sub = app.add_subcommand("thumbnail", "Write a PNG thumbnail (the vehicle at heading 0) of an SRF file");
  sub->add_option("IN.srf", args->in, "SRF file to show")->required();
  sub->add_option("OUT.png", args->out, "PNG file to write")->required();
  sub->add_option("SIZE", args->size, "Largest width and height in pixels")
      ->required()
      ->check(CLI::Range(1, kMaxThumbnailSize));
  sub->callback([&context, args] {
    if (const Result<Done> written = WriteThumbnail(args->in, args->out, args->size); !written) {
      std::cerr << "error: " << written.failure().message << '\n';
      context.exitCode = 1;
    }
  });
}

}  // namespace velkor::cli
