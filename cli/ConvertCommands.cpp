// The conversion commands: srf2png, asrf2png, png2srf and png2asrf run the
// conversion jobs on the paths given; `info` describes an SRF file.
#include <iostream>
#include <memory>

#include "cli/CliProgress.h"
#include "cli/Commands.h"
#include "common/Paths.h"
#include "jobs/Conversions.h"
#include "jobs/Info.h"
#include "platform/Files.h"

namespace velkor::cli {

namespace {

struct PathPair {
  std::string in;
  std::string out;
};

// The names the window derives from a chosen BMP: the PNG is written as the
// BMP's folder and base name (up to its first dot) + ".png".
std::string DerivedName(const std::string& path, const std::string& extension) {
  return GetFolderName(path) + kPathSeparator + GetBaseName(path) + extension;
}

// 0, or 1 after the failure is printed.
template <typename T>
int Ended(const Result<T>& result, CliProgress& progress) {
  if (result) return 0;
  progress.Error(result.failure().Reason());
  return 1;
}

void AddToPng(CLI::App& app, CliContext& context, const std::string& name, const std::string& description,
              bool animated) {
  auto paths = std::make_shared<PathPair>();
  auto* sub = app.add_subcommand(name, description);
  sub->add_option("IN.srf", paths->in, "SRF file to read")->required();
  sub->add_option("OUT.png", paths->out,
                  "PNG file to write; the 32-bit BMP it is made from is left beside it as OUT.bmp")
      ->required();
  sub->callback([&context, paths, animated] {
    const std::string in = platform::AbsolutePath(paths->in);
    const std::string out = platform::AbsolutePath(paths->out);
    const std::string bmp = DerivedName(out, ".bmp");
    if (DerivedName(bmp, ".png") != out) {
      throw CLI::ValidationError("OUT.png",
                                 "must end in .png and have no other dot in its file name (the PNG is "
                                 "named after the BMP up to its first dot, so " +
                                     out + " would be written as " + DerivedName(bmp, ".png") + ")");
    }
    if (!OutputsLeaveInputs({out, bmp}, {in})) return (void)(context.exitCode = 1);
    CliProgress progress(std::cerr);
    context.exitCode = Ended(SrfToPng(in, bmp, animated, progress), progress);
    if (context.exitCode == 0) std::cout << "png: " << out << "\nbmp: " << bmp << '\n';
  });
}

void AddFromPng(CLI::App& app, CliContext& context, const std::string& name, const std::string& description,
                bool animated) {
  auto paths = std::make_shared<PathPair>();
  auto* sub = app.add_subcommand(name, description);
  sub->add_option("IN.png", paths->in, "PNG file to read")->required();
  sub->add_option("OUT.srf", paths->out, "SRF file to write")->required();
  sub->callback([&context, paths, animated] {
    const std::string in = platform::AbsolutePath(paths->in);
    const std::string out = platform::AbsolutePath(paths->out);
    if (!OutputsLeaveInputs({out}, {in})) return (void)(context.exitCode = 1);
    CliProgress progress(std::cerr);
    context.exitCode = Ended(PngToSrf(in, out, animated, progress), progress);
    if (context.exitCode == 0) std::cout << "srf: " << out << '\n';
  });
}

void AddInfo(CLI::App& app, CliContext& context) {
  auto file = std::make_shared<std::string>();
  auto* sub = app.add_subcommand(
      "info", "Describe an SRF file: header fields, records, trailer, checksum byte, one `key: value` a line");
  sub->add_option("FILE.srf", *file, "SRF file to describe")->required();
  sub->callback([&context, file] {
    const Result<SRFFileInfo> described = Info(platform::AbsolutePath(*file));
    if (!described) {
      std::cerr << "error: " << described.failure().message << '\n';
      return (void)(context.exitCode = 1);
    }
    const SRFFileInfo& info = *described;
    for (const auto& [key, value] : info.facts) std::cout << key << ": " << value << '\n';
    std::cout << "verdict: " << info.verdict << '\n';
    if (!info.readable) std::cerr << "error: " << info.verdict << '\n';
    context.exitCode = info.readable ? 0 : 1;
  });
}

}  // namespace

void AddConvertCommands(CLI::App& app, CliContext& context) {
  AddToPng(app, context, "srf2png", "Convert a static SRF file to PNG (\"SRF to PNG\")", false);
  AddToPng(app, context, "asrf2png", "Convert an animated SRF file to PNG (\"Animated SRF to PNG\")", true);
  AddFromPng(
      app, context, "png2srf",
      "Convert a PNG of a static SRF picture to a static SRF file: " + SrfPictureSizesText(false) + " (\"PNG to SRF\")",
      false);
  AddFromPng(app, context, "png2asrf",
             "Convert a PNG of an animated SRF picture (" + SrfPictureSizesText(true) +
                 ") to an animated SRF file (\"PNG to Animated SRF\")",
             true);
  AddInfo(app, context);
}

}  // namespace velkor::cli
