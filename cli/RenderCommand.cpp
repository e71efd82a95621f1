// render: a model's frame sets rendered into the folders the window reads.
// Also the model step of `do-all --model` (cli/ModelDoAll.cpp).
#include <iostream>

#include "cli/Commands.h"
#include "pipeline/NumberingScheme.h"
#include "platform/Files.h"
#include "render/ModelRender.h"

namespace velkor::cli {

namespace {

constexpr const char* kRigHelp = R"(
Camera rig: the model's +Y is up and +Z its front unless --up/--front say
otherwise. Frame k shows the vehicle at heading 10*k degrees, clockwise seen
from above. The 2D set (OUTDIR/Top) looks straight down, frame 0's front up
the picture, frame 9's to the right. The 3D set (OUTDIR) looks from behind a
heading-0 vehicle, --elevation degrees above the horizon. Orthographic: the
centre of the model's bounding box lands on the cell centre, and the vertex
farthest from it at --fill times half the cell, the same scale for all 36
frames. Cells: static 400 (3D) and 350 (2D; 400 for versions 1.00 and 2.00);
animated 450 and 400, with the animation sets in OUTDIR/Animation and
OUTDIR/Animation/Top.)";

struct RenderOptions {
  std::string model, outDir, prefix = "car", numbers = "0000-0035", version = "2.20", animationModel;
  std::string key = "00FF00", up = "+y", front = "+z";
  bool animated = false;
  double elevation = 30, fill = 0.9;
};

std::string CheckAxis(const std::string& text) {
  return render::ParseAxis(text) ? std::string() : "not an axis (+x, -x, +y, -y, +z, -z): " + text;
}

std::string CheckKey(const std::string& text) {
  const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if (hex.size() == 6 && hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) return {};
  return "not a colour RRGGBB: " + text;
}

// Every text the numbering box offers names a scheme; any other text would
// fall back to the default scheme, which on the command line is a mistake.
std::string CheckNumbers(const std::string& text) {
  const NumberingScheme s = SchemeFromText(text);
  const bool isDefault = s.digits == 4 && s.step == 1 && s.first == 0;
  return !isDefault || text == "0000-0035" ? std::string() : "not a numbering scheme: " + text;
}

int Run(const RenderOptions& o) {
  render::ModelRenderRequest r;
  r.model = platform::AbsolutePath(o.model);
  r.outDir = platform::AbsolutePath(o.outDir);
  r.animated = o.animated;
  r.version = o.version;
  if (!o.animationModel.empty()) r.animationModel = platform::AbsolutePath(o.animationModel);
  r.settings.prefix = o.prefix;
  r.settings.numbering = SchemeFromText(o.numbers);
  r.settings.keyRgb = static_cast<uint32_t>(std::stoul(o.key[0] == '#' ? o.key.substr(1) : o.key, nullptr, 16));
  r.settings.rig = {*render::ParseAxis(o.up), *render::ParseAxis(o.front), o.elevation, o.fill};
  std::string error;
  const bool ok = render::RenderModel(
      r, [](int done, int total) { std::cerr << "\rrendering frame " << done << "/" << total << std::flush; },
      error);
  std::cerr << '\n';
  if (!ok) {
    std::cerr << "error: " << error << '\n';
    return 1;
  }
  std::cout << "frames: " << r.outDir << '\n';
  return 0;
}

}  // namespace

void AddRenderCommands(CLI::App& app, CliContext& context) {
  static RenderOptions o;
  auto* cmd = app.add_subcommand("render", "Render a 3D model's frame sets as BMP files");
  cmd->footer(kRigHelp);
  cmd->add_option("MODEL", o.model, "Model file: glTF (.gltf, .glb), OBJ, FBX, COLLADA, 3DS, PLY, STL")->required();
  cmd->add_option("OUTDIR", o.outDir, "Folder for the 3D frames; the 2D frames go to OUTDIR/Top")->required();
  cmd->add_option("--prefix", o.prefix, "File name prefix of the frames")->capture_default_str();
  cmd->add_option("--numbers", o.numbers, "Frame numbering scheme, e.g. 0000-0035, 1-36, \"0-360 (10s)\"")
      ->check(CheckNumbers)
      ->capture_default_str();
  cmd->add_option("--version", o.version, "SRF version the cell sizes are for: 1.00, 2.00, 2.10, 2.20 (animated is always 1.00)")
      ->check(CLI::IsMember({"1.00", "2.00", "2.10", "2.20"}))
      ->capture_default_str();
  cmd->add_flag("--animated", o.animated, "Animated SRF: rotation and animation sets, 450/400 cells");
  cmd->add_option("--animation-model", o.animationModel,
                  "Model of the animation sets (default: MODEL with its emissive parts lit up)");
  cmd->add_option("--key", o.key, "Background key colour RRGGBB")->check(CheckKey)->capture_default_str();
  cmd->add_option("--elevation", o.elevation, "3D set: camera degrees above the horizon")
      ->check(CLI::Range(0.0, 90.0))
      ->capture_default_str();
  cmd->add_option("--fill", o.fill, "Share of half the cell the model's radius fills")
      ->check(CLI::Range(0.05, 1.0))
      ->capture_default_str();
  cmd->add_option("--up", o.up, "Model axis pointing up: +x, -x, +y, -y, +z, -z")->check(CheckAxis)->capture_default_str();
  cmd->add_option("--front", o.front, "Model axis the vehicle's front points along")
      ->check(CheckAxis)
      ->capture_default_str();
  cmd->callback([&context] {
    if (render::ParseAxis(o.up) == render::ParseAxis(o.front) ||
        (static_cast<int>(*render::ParseAxis(o.up)) / 2 == static_cast<int>(*render::ParseAxis(o.front)) / 2)) {
      throw CLI::ValidationError("--up/--front", "the up and front axes must be perpendicular");
    }
    context.exitCode = Run(o);
  });
}

}  // namespace velkor::cli
