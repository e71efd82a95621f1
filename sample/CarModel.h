#pragma once

#include <vector>

#include "sample/RgbImage.h"

namespace velkor::sample {

// A point or direction in the car's own frame, in metres: x to the right,
// y forward (the way the car drives), z up from the road.
struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// One flat, convex face of the model.
struct Face {
  std::vector<Vec3> points;
  Vec3 normal;        // unit, pointing out of the solid it bounds
  Rgb colour;
  bool glows = false; // a light source: drawn at full colour, unshaded
};

// Colours of the model, before shading.
inline constexpr Rgb kBodyColour{28, 92, 196};
inline constexpr Rgb kGlassColour{52, 62, 78};
inline constexpr Rgb kWindscreenColour{86, 102, 124};
inline constexpr Rgb kTrimColour{44, 46, 52};
inline constexpr Rgb kTyreColour{24, 24, 26};
inline constexpr Rgb kHubColour{176, 178, 184};
inline constexpr Rgb kHeadlightOffColour{196, 202, 208};
inline constexpr Rgb kTailLightOffColour{118, 14, 20};
// Lit lamps and what they throw on the road; never shaded, so they appear exactly.
inline constexpr Rgb kHeadlightOnColour{255, 236, 64};
inline constexpr Rgb kBeamColour{255, 248, 178};     // brightest, nearest the car
inline constexpr Rgb kBeamMidColour{253, 230, 122};
inline constexpr Rgb kBeamEdgeColour{242, 200, 80};   // the far rim
inline constexpr Rgb kTailLightOnColour{255, 34, 34};
inline constexpr Rgb kTailGlowColour{214, 28, 36};

// Overall extent of the body, bumper to bumper, and the height of the roof.
inline constexpr float kCarLength = 4.56f;
inline constexpr float kCarHeight = 1.44f;
// How far the lit headlight beams reach beyond the front bumper.
inline constexpr float kBeamReach = 0.8f;

// The low-poly car, centred on the origin in plan, wheels on z = 0.
std::vector<Face> BuildCarModel(bool lightsOn);

}  // namespace velkor::sample
