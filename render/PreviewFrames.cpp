#include "render/PreviewFrames.h"

#include "render/FrameRenderer.h"
#include "render/FrameSets.h"

namespace velkor::render {

bool RenderPreview(const Scene& scene, const RigOptions& rig, int size, uint32_t keyRgb, PreviewImages& images,
                   std::string& error) {
  ModelFrame model;
  if (!MakeModelFrame(scene, rig, model, error)) return false;
  FrameRenderer renderer;
  for (size_t i = 0; i < kPreviewFrames.size(); ++i) {
    const PreviewFrame& p = kPreviewFrames[i];
    images[i] = renderer.Render(scene, ViewForFrame(model, rig, p.view, size, p.frame), size, KeyBytes(keyRgb), 1.0f);
  }
  return true;
}

}  // namespace velkor::render
