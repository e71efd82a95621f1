#pragma once
// The three frames that show at a glance whether a model's axes are right,
// rendered alone at a small size while the user turns the model: the 3D set's
// frame 0 (its rear toward the viewer), its frame 9 (the front to the right)
// and the 2D set's frame 0 (the front up).
#include <array>
#include <cstdint>
#include <string>

#include "render/CameraRig.h"
#include "render/FrameImage.h"
#include "render/Scene.h"

namespace velkor::render {

struct PreviewFrame {
  SetView view;
  int frame;
  const char* caption;
};

inline constexpr std::array<PreviewFrame, 3> kPreviewFrames = {{{SetView::Oblique3D, 0, "rear toward you"},
                                                                {SetView::Oblique3D, 9, "front to the right"},
                                                                {SetView::Top2D, 0, "front up"}}};

using PreviewImages = std::array<FrameImage, 3>;

// The preview's frames are this many pixels square.
inline constexpr int kPreviewSize = 176;

// The frames of kPreviewFrames, `size` pixels square over the key colour
// (0xRRGGBB). False with the reason when the rig refuses the model or axes.
bool RenderPreview(const Scene& scene, const RigOptions& rig, int size, uint32_t keyRgb, PreviewImages& images,
                   std::string& error);

}  // namespace velkor::render
