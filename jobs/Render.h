#pragma once
// Frame sets rendered from a 3D model: into the folders the import reads, or
// into memory for an import straight from them.
#include <vector>

#include "jobs/Progress.h"
#include "jobs/Result.h"
#include "render/AxisGuess.h"
#include "render/FrameImage.h"
#include "render/RenderOptions.h"
#include "render/Scene.h"

namespace velkor {

struct RenderedFrames {
  std::vector<render::FrameImage> frames;  // set after set, 36 each, in the import's order
  render::ModelAxes axes;                  // the axes used (given or guessed)
};

// Progress::Frames is told after each frame.
Result<RenderedFrames> RenderFrames(const render::RenderOptions& options, Progress& progress);
// The same for a model read already (the web page reads models itself);
// options.model only names it.
Result<RenderedFrames> RenderFrames(const render::Scene& model, const render::RenderOptions& options,
                                    Progress& progress);
// The frames written into options.outDir (and its subfolders), put in place
// only when all are written. `loaded` is options.model already loaded (the
// window's render dialog has it); null loads it.
Result<render::ModelAxes> RenderFramesToFolder(const render::RenderOptions& options, Progress& progress,
                                               const render::Scene* loaded = nullptr);

}  // namespace velkor
