#pragma once
// The light a surface point sends to the camera. Lights are fixed in view
// space, so every frame of a set is lit alike as the vehicle turns under
// them: a key light from the upper left of the viewer, a weaker fill from the
// right, and ambient so that no side goes black. Surfaces are lit from
// whichever side faces the camera (models' windings are not to be trusted).
#include <array>

#include "render/Scene.h"

namespace velkor::render {

struct SurfacePoint {
  std::array<float, 3> normal;  // view space, any length
  std::array<float, 4> vertexColour;
  std::array<float, 2> uv;
};

// Emissive colours are multiplied by `emissiveBoost` ("lights on" sets).
std::array<float, 3> Shade(const Scene& scene, const Material& material, const SurfacePoint& point,
                           float emissiveBoost);

}  // namespace velkor::render
