// render: a model's frame sets rendered into the folders the window reads.
// Also the model step of `do-all --model` (cli/ModelDoAll.cpp).
#include <iostream>

#include "cli/CliProgress.h"
#include "cli/Commands.h"
#include "cli/RenderFlags.h"
#include "jobs/Render.h"
#include "platform/Files.h"
#include "render/ModelRender.h"

namespace velkor::cli {

namespace {

constexpr const char* kRigHelp = R"(
Camera rig: without --up/--front the axes are guessed: what the file declares
(FBX axis settings; glTF is +Y up), else +Y up unless the model is longest
along Y (then +Z); the front along the longer of the two horizontal extents,
pointing + unless the file declares otherwise. The axes used are printed.
Frame k shows the vehicle at heading 10*k degrees, clockwise seen from above.
The 2D set (OUTDIR/Top) looks straight down, frame 0's front up the picture,
frame 9's to the right. The 3D set (OUTDIR) looks from behind a heading-0
vehicle, --elevation degrees above the horizon. Orthographic: the centre of
the model's bounding box lands on the cell centre, and the vertex farthest
from it at --fill times half the cell, the same scale for all 36 frames.
Cells: static 400 (3D) and 350 (2D; 400 for versions 1.00 and 2.00); animated
450 and 400, with the animation sets in OUTDIR/Animation and
OUTDIR/Animation/Top. The frames are rendered into a hidden folder beside
OUTDIR and moved into place only when all are written; frames already there
are replaced only with --force.)";

struct RenderCommandOptions {
  render::RenderOptions render;
  std::string version;  // checked by AddVersionOption
  RenderFlags flags;
  std::string key = "00FF00";
  bool force = false;
};

std::string CheckKey(const std::string& text) {
  const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if (hex.size() == 6 && hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) return {};
  return "not a colour RRGGBB: " + text;
}

render::RenderOptions Resolved(const RenderCommandOptions& o) {
  render::RenderOptions r = o.render;
  r.model = platform::AbsolutePath(r.model);
  r.outDir = platform::AbsolutePath(r.outDir);
  r.version = &StaticSrfVersion(Trim(o.version));
  ApplyRenderFlags(o.flags, r);
  r.keyRgb = static_cast<uint32_t>(std::stoul(o.key[0] == '#' ? o.key.substr(1) : o.key, nullptr, 16));
  return r;
}

int Run(const render::RenderOptions& r, bool force) {
  if (const size_t existing = render::ExistingFrameFiles(r).size(); existing > 0 && !force) {
    std::cerr << "error: the render would replace " << existing << " frame files in " << r.outDir
              << "; --force replaces them\n";
    return 1;
  }
  CliProgress progress(std::cerr);
  const Result<render::ModelAxes> axes = RenderFramesToFolder(r, progress);
  std::cerr << '\n';
  if (!axes) {
    progress.Error(axes.failure().message);
    return 1;
  }
  std::cout << "axes: " << render::DescribeAxes(*axes) << '\n' << "frames: " << r.outDir << '\n';
  return 0;
}

}  // namespace

void AddRenderCommands(CLI::App& app, CliContext& context) {
  static RenderCommandOptions o;
  auto* cmd = app.add_subcommand("render", "Render a 3D model's frame sets as BMP files");
  cmd->footer([] { return ModelFormatsHelp() + '\n' + kRigHelp; });
  cmd->add_option("MODEL", o.render.model, "Model file (the formats are listed below)")->required();
  cmd->add_option("OUTDIR", o.render.outDir, "Folder for the 3D frames; the 2D frames go to OUTDIR/Top")->required();
  cmd->add_option("--prefix", o.render.prefix, "File name prefix of the frames")->capture_default_str();
  cmd->add_option("--numbers", o.render.numbers, "Frame numbering scheme, e.g. 0000-0035, 1-36, \"0-360 (10s)\"")
      ->capture_default_str();
  AddVersionOption(
      cmd, o.version,
      "SRF version the cell sizes are for (animated is always " + std::string(AnimatedSrfVersion().text) + ")");
  cmd->add_flag("--animated", o.render.animated, "Animated SRF: rotation and animation sets, 450/400 cells");
  cmd->add_option("--key", o.key, "Background key colour RRGGBB")->check(CheckKey)->capture_default_str();
  AddRenderFlags(cmd, o.flags);
  cmd->add_flag("--force", o.force, "Replace frames already in OUTDIR");
  cmd->callback([&context] {
    const render::RenderOptions r = Resolved(o);
    RequireValid(r);
    context.exitCode = Run(r, o.force);
  });
}

}  // namespace velkor::cli
