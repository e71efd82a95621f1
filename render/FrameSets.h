#pragma once
// Rendering whole frame sets into folders: 36 frames per set, frame k at
// heading 10·k, named by prefix and numbering scheme, rendered on every core.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pipeline/NumberingScheme.h"
#include "render/CameraRig.h"
#include "render/FrameImage.h"
#include "render/Scene.h"

namespace velkor::render {

// "Lights on": how much brighter emissive surfaces glow in an animation set
// made from the rotation model itself.
inline constexpr float kLightsOnBoost = 4.0f;

struct FrameSetPlan {
  std::string folder;  // absolute; created when missing
  SetView view = SetView::Oblique3D;
  int cell = 400;
  bool animationScene = false;  // render the animation scene rather than the rotation scene
  float emissiveBoost = 1.0f;
};

struct RenderSettings {
  RigOptions rig;
  uint32_t keyRgb = 0x00FF00;  // 0xRRGGBB
  std::string prefix = "car";
  NumberingScheme numbering;
};

// The key colour 0xRRGGBB as the renderer takes it.
inline std::array<uint8_t, 3> KeyBytes(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
}

// Called on the calling thread after each frame: frames done, frames in all.
using RenderProgress = std::function<void(int done, int total)>;

// Renders every planned set. False with a message naming the file or folder
// on failure; frames already written stay, no frame is ever half written.
// With `frames`, the frames are kept there (set after set, 36 each) instead
// of being written, and the folders are not looked at.
bool RenderFrameSets(const Scene& rotation, const Scene& animation, const std::vector<FrameSetPlan>& plans,
                     const RenderSettings& settings, const RenderProgress& progress, std::string& error,
                     std::vector<FrameImage>* frames = nullptr);

}  // namespace velkor::render
