#include "render/PreviewFrames.h"

#include "platform/ParallelFor.h"
#include "render/FrameRenderer.h"
#include "render/FrameSets.h"

namespace velkor::render {

bool RenderPreview(const Scene& scene, const RigOptions& rig, int size, uint32_t keyRgb, PreviewImages& images,
                   std::string& error) {
  ModelFrame model;
  if (!MakeModelFrame(scene, rig, model, error)) return false;
  // The user waits for all three: each frame on a core of its own.
  platform::ParallelFor(kPreviewFrames.size(), 1, [&](int64_t first, int64_t last) {
    FrameRenderer renderer;
    for (auto i = static_cast<size_t>(first); i < static_cast<size_t>(last); ++i) {
      const PreviewFrame& p = kPreviewFrames[i];
      images[i] = renderer.Render(scene, ViewForFrame(model, rig, p.view, size, p.frame), size, KeyBytes(keyRgb), 1.0f);
    }
  });
  return true;
}

}  // namespace velkor::render
