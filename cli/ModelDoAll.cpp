#include "cli/ModelDoAll.h"

#include <stdlib.h>

#include <filesystem>
#include <iostream>

#include "common/Paths.h"
#include "jobs/SampleFolders.h"
#include "platform/Files.h"
#include "render/ModelRender.h"

namespace velkor::cli {

TemporaryFrames::~TemporaryFrames() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

bool TemporaryFrames::Create(std::string& error) {
  std::error_code ec;
  std::string templ = (std::filesystem::temp_directory_path(ec) / "velkor-frames-XXXXXX").string();
  if (ec || mkdtemp(templ.data()) == nullptr) {
    error = "cannot create a temporary folder for the rendered frames";
    return false;
  }
  path_ = templ;
  removedOnInterrupt_ = platform::InterruptCleanup::RemoveFolder(path_);
  return true;
}

bool RenderModelFirst(const std::string& model, const RenderFlags& flags, const std::string& numbers,
                      ImportSettings& import, TemporaryFrames& frames, CliProgress& progress) {
  render::RenderOptions r;
  r.animated = import.animated;
  r.version = import.version->text;
  r.keyRgb = render::RgbFromBgr(import.keyColour);
  r.prefix = import.sets[0].prefix.empty() ? kSamplePrefix : import.sets[0].prefix;
  r.numbers = Trim(numbers);
  r.model = platform::AbsolutePath(model);
  std::string error;
  if (!frames.Create(error)) {
    progress.Error(error);
    return false;
  }
  r.outDir = JoinPath(frames.Path(), "frames");
  ApplyRenderFlags(flags, r);
  RequireValid(r);
  render::ModelAxes axes;
  const bool ok = render::RenderModel(
      r, [](int done, int total) { std::cerr << "\rrendering frame " << done << "/" << total << std::flush; },
      axes, error);
  std::cerr << '\n';
  if (!ok) {
    progress.Error(error);
    return false;
  }
  std::cout << "axes: " << render::DescribeAxes(axes) << '\n';
  const render::FrameFolders f = render::FoldersFor(r.outDir, r.animated);
  import.sets = {FrameSource{f.rotation3D, r.prefix}, {f.rotation2D, r.prefix}, {f.animation3D, r.prefix},
                 {f.animation2D, r.prefix}};
  return true;
}

}  // namespace velkor::cli
