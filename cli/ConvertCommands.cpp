// The conversion commands: each runs the window's own procedure on a headless
// view whose dialogs answer with the paths given, plus `info`, which describes
// an SRF file.
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/HeadlessView.h"
#include "common/Paths.h"
#include "platform/Files.h"
#include "srf/SrfFileInfo.h"
#include "ui/commands/frmMain.h"

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

// Runs one window command; it succeeded when it says it completed.
// `replaceOutputs`: the outputs were named on the command line, so the
// window's "replace it?" is answered Yes.
int RunFormCommand(void (frmMain::*command)(), std::vector<std::string> answers, bool replaceOutputs = false) {
  HeadlessView view(std::cerr);
  view.AnswerDialogs(std::move(answers));
  if (replaceOutputs) view.answerQuestion = [](const std::string&) { return true; };
  frmMain form(view);
  form.Form_Load();
  (form.*command)();
  if (view.Failed()) return 1;  // a message box, already on stderr
  if (form.LastOutcome.kind != CommandOutcome::Kind::Completed) {
    view.Error("the command ended without finishing" +
               (form.LastOutcome.message.empty() ? std::string() : ": " + form.LastOutcome.message));
    return 1;
  }
  return 0;
}

void AddToPng(CLI::App& app, CliContext& context, const std::string& name, const std::string& description,
              void (frmMain::*command)()) {
  auto paths = std::make_shared<PathPair>();
  auto* sub = app.add_subcommand(name, description);
  sub->add_option("IN.srf", paths->in, "SRF file to read")->required();
  sub->add_option("OUT.png", paths->out,
                  "PNG file to write; the 32-bit BMP it is made from is left beside it as OUT.bmp")
      ->required();
  sub->callback([&context, paths, command] {
    const std::string in = platform::AbsolutePath(paths->in);
    const std::string out = platform::AbsolutePath(paths->out);
    const std::string bmp = DerivedName(out, ".bmp");
    if (DerivedName(bmp, ".png") != out) {
      throw CLI::ValidationError("OUT.png", "must end in .png and have no other dot in its file name (the PNG is "
                                            "named after the BMP up to its first dot, so " + out +
                                            " would be written as " + DerivedName(bmp, ".png") + ")");
    }
    if (!OutputsLeaveInputs({out, bmp}, {in})) return (void)(context.exitCode = 1);
    context.exitCode = RunFormCommand(command, {in, bmp}, true);
    if (context.exitCode == 0) std::cout << "png: " << out << "\nbmp: " << bmp << '\n';
  });
}

void AddFromPng(CLI::App& app, CliContext& context, const std::string& name, const std::string& description,
                void (frmMain::*command)()) {
  auto paths = std::make_shared<PathPair>();
  auto* sub = app.add_subcommand(name, description);
  sub->add_option("IN.png", paths->in, "PNG file to read")->required();
  sub->add_option("OUT.srf", paths->out, "SRF file to write")->required();
  sub->callback([&context, paths, command] {
    const std::string in = platform::AbsolutePath(paths->in);
    const std::string out = platform::AbsolutePath(paths->out);
    if (!OutputsLeaveInputs({out}, {in})) return (void)(context.exitCode = 1);
    context.exitCode = RunFormCommand(command, {in, out});
    if (context.exitCode == 0) std::cout << "srf: " << out << '\n';
  });
}

void AddInfo(CLI::App& app, CliContext& context) {
  auto file = std::make_shared<std::string>();
  auto* sub = app.add_subcommand(
      "info", "Describe an SRF file: header fields, records, trailer, checksum byte, one `key: value` a line");
  sub->add_option("FILE.srf", *file, "SRF file to describe")->required();
  sub->callback([&context, file] {
    const SRFFileInfo info = DescribeSRFFile(platform::AbsolutePath(*file));
    for (const auto& [key, value] : info.facts) std::cout << key << ": " << value << '\n';
    std::cout << "verdict: " << info.verdict << '\n';
    if (!info.readable) std::cerr << "error: " << info.verdict << '\n';
    context.exitCode = info.readable ? 0 : 1;
  });
}

}  // namespace

void AddConvertCommands(CLI::App& app, CliContext& context) {
  AddToPng(app, context, "srf2png", "Convert a static SRF file to PNG (\"SRF to PNG\")", &frmMain::mnuSRFtoPNG_Click);
  AddToPng(app, context, "asrf2png", "Convert an animated SRF file to PNG (\"Animated SRF to PNG\")",
           &frmMain::mnuASRFtoPNG_Click);
  AddFromPng(app, context, "png2srf",
             "Convert a PNG of a static SRF picture to a static SRF file: 2880 x 150 gives version 2.20, "
             "2880 x 160 version 2.00 (\"PNG to SRF\")",
             &frmMain::mnuPNGtoSRF_Click);
  AddFromPng(app, context, "png2asrf",
             "Convert a PNG of an animated SRF picture (3242 x 340) to an animated SRF file (\"PNG to Animated SRF\")",
             &frmMain::mnuPNGtoASRF_Click);
  AddInfo(app, context);
}

}  // namespace velkor::cli
