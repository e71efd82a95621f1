// The neighbourhood half of the clean edges estimator.
//
// On its own a pixel only bounds its alpha (KeySpill.cpp); the bound is exact
// for greys and too high for saturated vehicle colours, whose mix with the key
// has less spill than a grey's (a red that is two thirds vehicle has no spill
// left at all, and would stay opaque and green-tinged). But an edge pixel lies
// within a few pixels of the vehicle it fades from, so its vehicle colour F
// can be read there: among the pixels inside the vehicle (opaque, and with no
// keyed pixel beside them, so that no edge mix is taken for a colour), the one
// whose line from the key passes nearest to C explains C best, and the alpha
// is the projection of C - K on F - K. When none explains C (corners where two
// vehicle colours and the key meet, thin parts with no inside), the pixel's
// own estimate stands. Inside pixels are never changed, and pure key is
// never searched.
#include "pipeline/CleanEdgeKey.h"

#include <algorithm>
#include <cmath>

namespace velkor {

namespace {

constexpr int32_t kRadius = 3;
// A neighbour explains C when C lies within this distance of its line.
constexpr float kMostResidual = 12.0f;
// A neighbour this close to the key says nothing about the direction of F.
constexpr float kLeastVehicleDistance = 48.0f;

float Dot(const Bgr& a, const Bgr& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Bgr Minus(const Bgr& a, const Bgr& b) { return Bgr{a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

// Whether a pixel next to (x, row) is partly or wholly key.
bool BesideKey(const KeyModel& model, const uint8_t* source, int32_t width, int32_t height, int32_t x,
               int32_t row) {
  for (int32_t r = std::max(0, row - 1); r <= std::min(height - 1, row + 1); ++r)
    for (int32_t c = std::max(0, x - 1); c <= std::min(width - 1, x + 1); ++c)
      if (PixelAlpha(model, BgrAt(source + (static_cast<int64_t>(r) * width + c) * 4)) < 1.0f) return true;
  return false;
}

// Whether (x, row) is inside the vehicle: opaque, and not beside the key.
bool Inside(const KeyModel& model, const uint8_t* source, int32_t width, int32_t height, int32_t x,
            int32_t row) {
  return PixelAlpha(model, BgrAt(source + (static_cast<int64_t>(row) * width + x) * 4)) >= 1.0f &&
         !BesideKey(model, source, width, height, x, row);
}

// The best projection of C - K on the lines to the inside pixels around, or
// `fallback` when none passes close enough.
float NeighbourAlpha(const KeyModel& model, const uint8_t* source, int32_t width, int32_t height, int32_t x,
                     int32_t row, const Bgr& fromKey, float fallback) {
  float best = fallback;
  float bestResidual = kMostResidual * kMostResidual;
  for (int32_t r = std::max(0, row - kRadius); r <= std::min(height - 1, row + kRadius); ++r) {
    for (int32_t c = std::max(0, x - kRadius); c <= std::min(width - 1, x + kRadius); ++c) {
      if (!Inside(model, source, width, height, c, r)) continue;
      const Bgr vehicle = BgrAt(source + (static_cast<int64_t>(r) * width + c) * 4);
      const Bgr direction = Minus(vehicle, model.key);
      const float length2 = Dot(direction, direction);
      if (length2 < kLeastVehicleDistance * kLeastVehicleDistance) continue;
      const float alpha = std::clamp(Dot(fromKey, direction) / length2, 0.0f, 1.0f);
      const Bgr off{fromKey[0] - alpha * direction[0], fromKey[1] - alpha * direction[1],
                    fromKey[2] - alpha * direction[2]};
      const float residual = Dot(off, off);
      if (residual < bestResidual) {
        bestResidual = residual;
        best = alpha;
      }
    }
  }
  return best;
}

}  // namespace

float CleanEdgeAlpha(const KeyModel& model, const uint8_t* source, int32_t width, int32_t height, int32_t x,
                     int32_t row) {
  const Bgr colour = BgrAt(source + (static_cast<int64_t>(row) * width + x) * 4);
  const float own = PixelAlpha(model, colour);
  if (own <= 0.0f) return own;
  if (own >= 1.0f && !BesideKey(model, source, width, height, x, row)) return own;  // inside
  const float refined = NeighbourAlpha(model, source, width, height, x, row, Minus(colour, model.key), own);
  // Whatever the neighbours say, the vehicle colour must stay in the cube.
  return std::max(refined, CubeAlpha(model, colour));
}

void WriteKeyedPixel(const KeyModel& model, const uint8_t* in, float alpha, uint8_t* out) {
  const float alphaByte = std::nearbyint(alpha * 255.0f);
  for (int c = 0; c < 3; ++c) {
    const float premultiplied = static_cast<float>(in[c]) - (1.0f - alpha) * model.key[c];
    out[c] = static_cast<uint8_t>(std::clamp(std::nearbyint(premultiplied), 0.0f, alphaByte));
  }
  out[3] = static_cast<uint8_t>(alphaByte);
}

void CleanEdgeKeyRows(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                      uint32_t keyColour, int32_t firstRow, int32_t lastRow) {
  const KeyModel model = ModelOfKey(keyColour);
  for (int32_t row = firstRow; row < lastRow; ++row) {
    for (int32_t x = 0; x < width; ++x) {
      const int64_t at = (static_cast<int64_t>(row) * width + x) * 4;
      WriteKeyedPixel(model, source + at, CleanEdgeAlpha(model, source, width, height, x, row),
                      destination + at);
    }
  }
}

}  // namespace velkor
