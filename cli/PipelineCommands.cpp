// do-all and build-strip: the "Do All" and "Build Image" buttons over the same
// window procedures, with the window's controls set from flags.
#include <iostream>
#include <optional>

#include "cli/Commands.h"
#include "cli/HeadlessView.h"
#include "cli/ModelDoAll.h"
#include "cli/RenderFlags.h"
#include "common/Paths.h"
#include "common/VbError.h"
#include "pipeline/NumberingScheme.h"
#include "srf/SrfVersion.h"
#include "ui/commands/KeyingChoice.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "render/commands/WindowRender.h"
#include "ui/commands/frmMain.h"

namespace velkor::cli {

namespace {

// A flag that sets one text box or combo box of the window.
struct TextFlag {
  const char* name;
  const char* help;
  bool isFolder;  // made absolute
  std::string& (*control)(FormControls&);
  std::string value = {};
  CLI::Option* option = nullptr;
};

std::vector<TextFlag> TextFlags() {
  using C = FormControls;
  return {
      {"--rotation-3d", "Folder of the 3D rotation frames", true,
       [](C& c) -> std::string& { return c.txtWorkDir[1].Text; }},
      {"--rotation-2d", "Folder of the 2D rotation frames", true,
       [](C& c) -> std::string& { return c.txt2DWorkDir[1].Text; }},
      {"--animation-3d", "Folder of the 3D animation frames (with --animated)", true,
       [](C& c) -> std::string& { return c.txtWorkDir[2].Text; }},
      {"--animation-2d", "Folder of the 2D animation frames (with --animated)", true,
       [](C& c) -> std::string& { return c.txt2DWorkDir[2].Text; }},
      {"--prefix-3d", "File prefix of the 3D rotation frames", false,
       [](C& c) -> std::string& { return c.txt3DPrefix[1].Text; }},
      {"--prefix-2d", "File prefix of the 2D rotation frames", false,
       [](C& c) -> std::string& { return c.txt2DPrefix[1].Text; }},
      {"--anim-prefix-3d", "File prefix of the 3D animation frames", false,
       [](C& c) -> std::string& { return c.txt3DPrefix[2].Text; }},
      {"--anim-prefix-2d", "File prefix of the 2D animation frames", false,
       [](C& c) -> std::string& { return c.txt2DPrefix[2].Text; }},
      {"--numbers", "Frame numbering scheme, e.g. 0000-0035, 1-36, \"0-360 (10s)\"", false,
       [](C& c) -> std::string& { return c.cmbNumbers.Text; }},
      {"--version", "SRF version: 1.00, 2.00, 2.10 or 2.20 (any other text means 2.20)", false,
       [](C& c) -> std::string& { return c.cmbVersion.Text; }},
  };
}

// Every flag defaults to the window's initial state: a control is set only
// when its flag was given.
struct PipelineOptions {
  std::string output;
  std::vector<TextFlag> texts = TextFlags();
  std::string key;
  std::string keying;
  int tolerance = 0;
  int stepSample = 0;
  bool animated = false, notAntiAliased = false, noResize = false;
  CLI::Option* keyOption = nullptr;
  CLI::Option* toleranceOption = nullptr;
  CLI::Option* stepSampleOption = nullptr;
  std::string model;  // do-all --model: frames rendered from it first
  RenderFlags renderFlags;
};

// A colour as the window stores it (0x00BBGGRR, in decimal) or as #RRGGBB.
std::optional<uint32_t> ParseKeyColour(const std::string& text) {
  if (text.empty()) return std::nullopt;
  if (text[0] == '#') {
    if (text.size() != 7 || text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) {
      return std::nullopt;
    }
    const uint32_t rgb = static_cast<uint32_t>(std::stoul(text.substr(1), nullptr, 16));
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  }
  if (text.size() > 8 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const uint32_t value = static_cast<uint32_t>(std::stoul(text));
  if (value > 0xFFFFFF) return std::nullopt;
  return value;
}

void AddOptions(CLI::App* command, PipelineOptions& o) {
  for (TextFlag& flag : o.texts) flag.option = command->add_option(flag.name, flag.value, flag.help);
  o.keyOption =
      command->add_option("--key", o.key, "Key colour: decimal 0x00BBGGRR or #RRGGBB")
          ->check([](const std::string& value) {
            return ParseKeyColour(value) ? std::string() : "not a colour (decimal or #RRGGBB): " + value;
          });
  o.toleranceOption = command->add_option("--tolerance", o.tolerance, "Key colour tolerance 0..255")
                          ->check(CLI::Range(0, 255));
  o.stepSampleOption = command->add_option("--step-sample", o.stepSample, "Resize in 1, 2 or 3 steps")
                           ->check(CLI::Range(1, 3));
  command->add_flag("--animated", o.animated, "Animated SRF (rotation and animation sets)");
  command->add_flag("--not-anti-aliased", o.notAntiAliased, "Frames not anti-aliased: binary keying");
  command->add_option("--keying", o.keying, "Keying rule: clean (default), graded or binary")
      ->check(CLI::IsMember({"graded", "binary", "clean"}));
  command->add_flag("--no-resize", o.noResize, "Do not resize to the device size");
}

bool Given(const CLI::Option* option) { return option && option->count() > 0; }

bool GivenText(const PipelineOptions& o, const std::string& name) {
  for (const TextFlag& flag : o.texts) {
    if (flag.name == name) return Given(flag.option);
  }
  return false;
}

// The window starts on the static sample (400- and 350-pixel frames). An
// animated build wants 450 and 400: unless the rotation folder was given,
// take the sample's animated rotation set, as a user would pick it.
void UseAnimatedSampleRotation(const PipelineOptions& o, FormControls& c) {
  if (GivenText(o, "--rotation-3d")) return;
  const std::string rotation = JoinPath(GetFolderName(frmMain::DefaultAnimationFolder()), "Rotation");
  c.txtWorkDir[1].Text = rotation;
  if (!GivenText(o, "--rotation-2d")) c.txt2DWorkDir[1].Text = JoinPath(rotation, "Top");
}

// Given only a 3D folder, its 2D frames are in its "Top" subfolder, as the
// folder picker assumes; never the sample's.
void UseTopFolders(const PipelineOptions& o, FormControls& c) {
  if (GivenText(o, "--rotation-3d") && !GivenText(o, "--rotation-2d")) {
    c.txt2DWorkDir[1].Text = JoinPath(c.txtWorkDir[1].Text, "Top");
  }
  if (GivenText(o, "--animation-3d") && !GivenText(o, "--animation-2d")) {
    c.txt2DWorkDir[2].Text = JoinPath(c.txtWorkDir[2].Text, "Top");
  }
}

// Clean edges unless told otherwise. --not-anti-aliased is the binary rule by
// its old name; with another rule it is a contradiction, and so is a tolerance
// with clean edges, which do not read one (the window disables the slider):
// usage errors, raised before any work is done.
KeyingRule KeyingRuleOf(const PipelineOptions& o) {
  if (o.notAntiAliased && !o.keying.empty() && o.keying != "binary") {
    throw CLI::ValidationError("--not-anti-aliased", "means --keying binary, not --keying " + o.keying);
  }
  if (o.notAntiAliased || o.keying == "binary") return KeyingRule::Binary;
  if (o.keying == "graded") return KeyingRule::Graded;
  if (Given(o.toleranceOption)) {
    throw CLI::ValidationError("--tolerance", "applies to --keying graded or binary, not to clean edges (the default)");
  }
  return KeyingRule::CleanEdges;
}

// Sets the window's controls as a user would before pressing the button.
void ApplyOptions(const PipelineOptions& o, frmMain& form) {
  FormControls& c = form.Controls;
  for (const TextFlag& flag : o.texts) {
    if (Given(flag.option)) flag.control(c) = flag.isFolder ? platform::AbsolutePath(flag.value) : flag.value;
  }
  UseTopFolders(o, c);
  // As in the window, animated mode shows "1.00" whatever was chosen before.
  if (o.animated) {
    form.mnuAnimatedSRF_Click();
    UseAnimatedSampleRotation(o, c);
  }
  if (Given(o.keyOption)) {
    form.SetKeyColor(*ParseKeyColour(o.key));  // as a picked colour is set
  }
  if (Given(o.toleranceOption)) {
    c.sldTol.Value = o.tolerance;
    form.sldTol_Scroll();
  }
  SelectKeyingRule(c, KeyingRuleOf(o));
  if (o.noResize) {
    c.chkResize.Value = false;
    form.chkResize_Click();
  }
  if (Given(o.stepSampleOption)) {
    for (size_t i = 0; i < c.optSteps.size(); ++i)
      c.optSteps[i].Value = static_cast<int>(i) + 1 == o.stepSample;
    c.chkStepSample.Value = true;
  }
}

bool ImportStoppedAtFrame(const frmMain& form) {
  return form.LastImport == ImportOutcome::FileMissing || form.LastImport == ImportOutcome::FileUnreadable;
}

// 2D frames that could not be read: the import went on without them.
void ReportSkippedFrames(const frmMain& form, HeadlessView& view) {
  size_t count = form.ImportWarnings.size();
  if (ImportStoppedAtFrame(form) && count > 0) --count;  // the last one stopped the import
  for (size_t i = 0; i < count; ++i) {
    view.Warning("frame cannot be read as a BMP, its cell stays background: " + form.ImportWarnings[i]);
  }
}

// Checks the import; false (with the error reported) when it did not read
// every frame, so that no partial strip is written.
bool ImportComplete(const frmMain& form, HeadlessView& view) {
  ReportSkippedFrames(form, view);
  if (form.LastImport == ImportOutcome::Complete) return true;
  view.Error(form.ImportFailure.empty() ? "the frames were not imported" : form.ImportFailure);
  return false;
}

// The files the command reads: the frames the import will look for, named as
// the window names them from its boxes, or the models they are rendered from.
std::vector<std::string> InputFiles(const frmMain& form, const PipelineOptions& o) {
  if (!o.model.empty()) {
    std::vector<std::string> models = {platform::AbsolutePath(o.model)};
    if (!o.renderFlags.animationModel.empty()) models.push_back(platform::AbsolutePath(o.renderFlags.animationModel));
    return models;
  }
  const FormControls& c = form.Controls;
  const NumberingScheme scheme = SchemeFromText(c.cmbNumbers.Text);
  std::vector<std::string> files;
  for (int item = 1; item <= (form.AnimatedMode ? 2 : 1); ++item) {
    for (const auto& [folder, prefix] : {std::pair(&c.txtWorkDir[item], &c.txt3DPrefix[item]),
                                         std::pair(&c.txt2DWorkDir[item], &c.txt2DPrefix[item])}) {
      for (int i = 0; i < kFramesPerSet; ++i) {
        files.push_back(platform::ResolveNameCase(FrameFileName(Trim(folder->Text), Trim(prefix->Text), scheme, i)));
      }
    }
  }
  return files;
}

// do-all --model: the window's settings with the render flags, checked as
// `render` checks them; the frames go to a temporary folder.
bool RenderModelFirst(const PipelineOptions& o, frmMain& form, HeadlessView& view, TemporaryFrames& frames) {
  std::string error;
  if (!frames.Create(error)) {
    view.Error(error);
    return false;
  }
  render::RenderOptions r = render::OptionsFromWindow(form);
  r.model = platform::AbsolutePath(o.model);
  r.outDir = JoinPath(frames.Path(), "frames");
  ApplyRenderFlags(o.renderFlags, r);
  RequireValid(r);
  return RenderModelIntoForm(r, form, view);
}

int RunDoAll(const PipelineOptions& o) {
  HeadlessView view(std::cerr);
  frmMain form(view);
  form.Form_Load();
  ApplyOptions(o, form);
  if (!OutputsLeaveInputs({platform::AbsolutePath(o.output)}, InputFiles(form, o))) return 1;
  TemporaryFrames frames;
  if (!o.model.empty() && !RenderModelFirst(o, form, view, frames)) return 1;
  const std::string output = platform::AbsolutePath(o.output);
  view.AnswerDialogs({output});
  // The window saves a partly filled strip; the command line does not.
  view.allowDialog = [&form](const FileDialogRequest&) { return form.LastImport == ImportOutcome::Complete; };
  form.DoAllWithoutStrip();  // the saved file is cmdSave_Click's, without a full strip in memory
  if (!ImportComplete(form, view)) return 1;
  if (view.Failed()) return 1;  // a message box, already on stderr
  if (form.LastOutcome.kind != CommandOutcome::Kind::Completed) {
    view.Error(form.LastOutcome.message + " (no SRF written to " + output + ")");
    return 1;
  }
  std::cout << "srf: " << output << '\n';
  return 0;
}

int RunBuildStrip(const PipelineOptions& o) {
  HeadlessView view(std::cerr);
  frmMain form(view);
  form.Form_Load();
  ApplyOptions(o, form);
  const std::string output = platform::AbsolutePath(o.output);
  if (!OutputsLeaveInputs({output}, InputFiles(form, {}))) return 1;
  form.cmdGo_Click();
  if (!ImportComplete(form, view)) return 1;
  try {
    platform::SetLastError(0);
    if (!form.WorkImage->SavePicture(output)) {
      view.Error(platform::CannotWrite(output, platform::GetLastError()));
      return 1;
    }
  } catch (const VbError& e) {
    std::string reason = e.Description();
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    view.Error("cannot create " + output + ": " + reason);
    return 1;
  }
  std::cout << "strip: " << output << '\n';
  return 0;
}

}  // namespace

void AddPipelineCommands(CLI::App& app, CliContext& context) {
  static PipelineOptions doAll;
  auto* doAllCommand =
      app.add_subcommand("do-all", "Build, resize, key, sharpen and save an SRF (\"Do All\")");
  doAllCommand->add_option("OUT.srf", doAll.output, "SRF file to write")->required();
  AddOptions(doAllCommand, doAll);
  doAllCommand->add_option("--model", doAll.model, "Render the frames from this 3D model first (see render --help)");
  AddRenderFlags(doAllCommand, doAll.renderFlags);
  doAllCommand->callback([&context] { context.exitCode = RunDoAll(doAll); });

  static PipelineOptions buildStrip;
  auto* stripCommand = app.add_subcommand(
      "build-strip", "Import the frames into the composite strip and save it as a 32-bit BMP");
  stripCommand->add_option("OUT.bmp", buildStrip.output, "BMP file to write")->required();
  AddOptions(stripCommand, buildStrip);
  stripCommand->callback([&context] { context.exitCode = RunBuildStrip(buildStrip); });
}

}  // namespace velkor::cli
