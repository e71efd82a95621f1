#include "cli/ModelDoAll.h"

#include <iostream>

#include "common/Paths.h"
#include "jobs/SampleFolders.h"
#include "platform/Files.h"

namespace velkor::cli {

bool RenderModelFirst(const std::string& model, const RenderFlags& flags, const std::string& numbers,
                      ImportSettings& import, RenderedFrames& frames, CliProgress& progress) {
  render::RenderOptions r;
  r.animated = import.animated;
  r.version = import.version;
  r.keyRgb = render::RgbFromBgr(import.keyColour);
  r.prefix = import.sets[0].prefix.empty() ? kSamplePrefix : import.sets[0].prefix;
  r.numbers = Trim(numbers);
  r.model = platform::AbsolutePath(model);
  r.outDir = platform::AbsolutePath(".");  // nothing is written: the frames stay in memory
  ApplyRenderFlags(flags, r);
  RequireValid(r);
  Result<RenderedFrames> rendered = RenderFrames(r, progress);
  std::cerr << '\n';
  if (!rendered) {
    progress.Error(rendered.failure().message);
    return false;
  }
  std::cout << "axes: " << render::DescribeAxes(rendered->axes) << '\n';
  frames = std::move(*rendered);
  import.frames = &frames.frames;
  return true;
}

}  // namespace velkor::cli
