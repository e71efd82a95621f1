// do-all and build-strip: the "Do All" and "Build Image" jobs, their settings
// taken from flags; a flag not given keeps the window's initial setting.
#include <iostream>
#include <optional>

#include "cli/CliProgress.h"
#include "cli/Commands.h"
#include "cli/ModelDoAll.h"
#include "cli/RenderFlags.h"
#include "common/Paths.h"
#include "common/VbError.h"
#include "jobs/DoAll.h"
#include "jobs/SampleFolders.h"
#include "jobs/SrfFiles.h"
#include "platform/Files.h"
#include "platform/SystemError.h"

namespace velkor::cli {

namespace {

// The four sets' folders and prefixes, in the import's order.
struct SetFlags {
  std::optional<std::string> folder, prefix;
};

struct PipelineOptions {
  std::string output;
  std::array<SetFlags, 4> sets;
  std::string numbers = "0000-0035";
  std::string version;
  std::optional<std::string> key;
  std::optional<int> tolerance, stepSample;
  std::string keying;
  bool animated = false, notAntiAliased = false, noResize = false;
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
  const char* const sets[4] = {"3D rotation", "2D rotation", "3D animation", "2D animation"};
  const char* const folderFlags[4] = {"--rotation-3d", "--rotation-2d", "--animation-3d", "--animation-2d"};
  const char* const prefixFlags[4] = {"--prefix-3d", "--prefix-2d", "--anim-prefix-3d", "--anim-prefix-2d"};
  for (size_t set = 0; set < 4; ++set) {
    const std::string animatedOnly = set >= 2 ? " (with --animated)" : "";
    command->add_option(folderFlags[set], o.sets[set].folder,
                        "Folder of the " + std::string(sets[set]) + " frames" + animatedOnly);
    command->add_option(prefixFlags[set], o.sets[set].prefix,
                        "File prefix of the " + std::string(sets[set]) + " frames");
  }
  command->add_option("--numbers", o.numbers, "Frame numbering scheme, e.g. 0000-0035, 1-36, \"0-360 (10s)\"");
  AddVersionOption(command, o.version,
                   "SRF version (an animated SRF is always " + std::string(AnimatedSrfVersion().text) + ")");
  command->add_option("--key", o.key, "Key colour: decimal 0x00BBGGRR or #RRGGBB")->check([](const std::string& value) {
    return ParseKeyColour(value) ? std::string() : "not a colour (decimal or #RRGGBB): " + value;
  });
  command->add_option("--tolerance", o.tolerance, "Key colour tolerance 0..255")->check(CLI::Range(0, 255));
  command->add_option("--step-sample", o.stepSample, "Resize in 1, 2 or 3 steps")->check(CLI::Range(1, 3));
  command->add_flag("--animated", o.animated, "Animated SRF (rotation and animation sets)");
  command->add_flag("--not-anti-aliased", o.notAntiAliased, "Frames not anti-aliased: binary keying");
  command->add_option("--keying", o.keying, "Keying rule: clean (default), graded or binary")
      ->check(CLI::IsMember({"graded", "binary", "clean"}));
  command->add_flag("--no-resize", o.noResize, "Do not resize to the device size");
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
  if (o.tolerance) {
    throw CLI::ValidationError("--tolerance", "applies to --keying graded or binary, not to clean edges (the default)");
  }
  return KeyingRule::CleanEdges;
}

// The folder of a set: as given (made absolute), else a 2D set's frames are
// in the "Top" subfolder of its 3D set's, as the folder picker assumes; the
// sample's otherwise (its animated rotation frames for an animated icon).
std::string FolderOf(const PipelineOptions& o, size_t set, const std::string& folder3D) {
  if (o.sets[set].folder) return Trim(platform::AbsolutePath(*o.sets[set].folder));
  if (set % 2 == 1) return JoinPath(folder3D, "Top");
  return set == 0 ? SampleRotationFolder(o.animated) : SampleAnimationFolder();
}

DoAllSettings SettingsOf(const PipelineOptions& o) {
  DoAllSettings s;
  ImportSettings& import = s.import;
  import.animated = o.animated;
  import.version = o.animated ? &AnimatedSrfVersion() : &StaticSrfVersion(Trim(o.version));
  import.numbering = SchemeFromText(o.numbers);
  import.keyColour = o.key ? *ParseKeyColour(*o.key) : 0x00FF00;
  for (size_t set = 0; set < 4; ++set) {
    import.sets[set].folder = FolderOf(o, set, set % 2 == 1 ? import.sets[set - 1].folder : "");
    import.sets[set].prefix = Trim(o.sets[set].prefix.value_or(kSamplePrefix));
  }
  s.finish.resize = !o.noResize;
  s.finish.stepSample = o.stepSample.has_value();
  s.finish.steps = o.stepSample.value_or(1);
  s.finish.keying = {import.keyColour, o.tolerance.value_or(0), KeyingRuleOf(o)};
  return s;
}

// The files the command reads: the frames the import will look for, or the
// models they are rendered from.
std::vector<std::string> InputFiles(const ImportSettings& import, const PipelineOptions& o) {
  if (!o.model.empty()) {
    std::vector<std::string> models = {platform::AbsolutePath(o.model)};
    if (!o.renderFlags.animationModel.empty()) models.push_back(platform::AbsolutePath(o.renderFlags.animationModel));
    return models;
  }
  std::vector<std::string> files = FrameFiles(import);
  for (std::string& file : files) file = platform::ResolveNameCase(file);
  return files;
}

int RunDoAll(const PipelineOptions& o) {
  CliProgress progress(std::cerr);
  DoAllSettings settings = SettingsOf(o);
  const std::string output = platform::AbsolutePath(o.output);
  if (!OutputsLeaveInputs({output}, InputFiles(settings.import, o))) return 1;
  RenderedFrames frames;
  if (!o.model.empty() && !RenderModelFirst(o.model, o.renderFlags, o.numbers, settings.import, frames, progress)) {
    return 1;
  }
  const Result<DoAllOutcome> done = DoAll(settings, progress);
  if (!done) {
    progress.Error(done.failure().Reason());
    return 1;
  }
  const SrfVersion& version = *settings.import.version;
  Result<Done> written = CheckSrfHasVehicle(*done->icon, version, progress);
  if (written) {
    progress.Status(SrfWritingStatus(version));
    written = WriteSrf(*done->icon, version, output, progress);
  }
  if (!written) {
    progress.Error(written.failure().Reason());
    return 1;
  }
  std::cout << "srf: " << output << '\n';
  return 0;
}

int RunBuildStrip(const PipelineOptions& o) {
  CliProgress progress(std::cerr);
  const ImportSettings settings = SettingsOf(o).import;
  const std::string output = platform::AbsolutePath(o.output);
  if (!OutputsLeaveInputs({output}, InputFiles(settings, {}))) return 1;
  const Result<ImportedStrip, ImportStop> imported = ImportFrames(settings, progress);
  if (!imported) {
    progress.Error(imported.failure().Reason());
    return 1;
  }
  try {
    platform::SetLastError(0);
    if (!imported->strip->SavePicture(output)) {
      progress.Error(platform::CannotWrite(output, platform::GetLastError()));
      return 1;
    }
  } catch (const VbError& e) {
    std::string reason = e.Description();
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    progress.Error("cannot create " + output + ": " + reason);
    return 1;
  }
  std::cout << "strip: " << output << '\n';
  return 0;
}

}  // namespace

void AddPipelineCommands(CLI::App& app, CliContext& context) {
  static PipelineOptions doAll;
  auto* doAllCommand = app.add_subcommand("do-all", "Build, resize, key, sharpen and save an SRF (\"Do All\")");
  doAllCommand->add_option("OUT.srf", doAll.output, "SRF file to write")->required();
  AddOptions(doAllCommand, doAll);
  doAllCommand->add_option("--model", doAll.model, "Render the frames from this 3D model first (see render --help)");
  AddRenderFlags(doAllCommand, doAll.renderFlags);
  doAllCommand->callback([&context] { context.exitCode = RunDoAll(doAll); });

  static PipelineOptions buildStrip;
  auto* stripCommand =
      app.add_subcommand("build-strip", "Import the frames into the composite strip and save it as a 32-bit BMP");
  stripCommand->add_option("OUT.bmp", buildStrip.output, "BMP file to write")->required();
  AddOptions(stripCommand, buildStrip);
  stripCommand->callback([&context] { context.exitCode = RunBuildStrip(buildStrip); });
}

}  // namespace velkor::cli
