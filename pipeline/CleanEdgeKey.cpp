// The band half of the clean edges estimator.
//
// Pixels outside the band (KeyBand.h) are vehicle and stay as they are. In the
// band a pixel on its own only bounds its alpha (KeySpill.cpp); the bound is
// exact for greys, too high for saturated vehicle colours, whose mix with the
// key has less spill than a grey's (a red that is two thirds vehicle has no
// spill left at all, and would stay opaque and green-tinged), and too low for
// paint near the key's hue, which has spill of its own. But an edge pixel lies
// within a few pixels of the vehicle it fades from, so its vehicle colour F
// can be read there: among the pixels around it that are not next to the
// background (where the edge's mixes are), the one whose line from the key
// passes nearest to C explains C best, and the alpha is the projection of
// C - K on F - K. So the edge of lime paint on a green key is unmixed against
// the lime beside it, and the lime itself is explained by the lime around it.
// When none explains C (corners where two vehicle colours and the key meet,
// thin parts), the pixel's own estimate stands.
#include "pipeline/CleanEdgeKey.h"

#include <algorithm>
#include <cmath>

namespace velkor {

namespace {

// Where the vehicle colours are looked for: near first, so that the paint an
// edge fades from wins over paint further in; then further, for corners and
// narrow parts whose paint lies inside the band.
constexpr int32_t kRadius = 3, kFarRadius = 5;
// A neighbour explains C when C lies within this distance of its line.
constexpr float kMostResidual = 12.0f;
// A neighbour this close to the key says nothing about the direction of F.
constexpr float kLeastVehicleDistance = 48.0f;

float Dot(const Bgr& a, const Bgr& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Bgr Minus(const Bgr& a, const Bgr& b) { return Bgr{a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

}  // namespace

CleanEdgeKeyer::CleanEdgeKeyer(const uint8_t* source, int32_t width, int32_t height, uint32_t keyColour)
    : source_(source),
      width_(width),
      height_(height),
      model_(ModelOfKey(keyColour)),
      classes_(model_, source, width, height) {}

// The best projection of C - K on the lines to the vehicle colours within
// `radius`, or `fallback` when none passes close enough.
float CleanEdgeKeyer::NeighbourAlpha(int32_t x, int32_t row, const Bgr& fromKey, float fallback, int32_t radius) const {
  float best = fallback;
  float bestResidual = kMostResidual * kMostResidual;
  for (int32_t r = std::max(0, row - radius); r <= std::min(height_ - 1, row + radius); ++r) {
    for (int32_t c = std::max(0, x - radius); c <= std::min(width_ - 1, x + radius); ++c) {
      if (classes_.Is(c, r, kNextToBackground) || (c == x && r == row)) continue;
      const Bgr direction = Minus(BgrAt(At(c, r)), model_.key);
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

float CleanEdgeKeyer::Alpha(int32_t x, int32_t row) const {
  if (!classes_.Is(x, row, kInBand)) return 1.0f;
  const Bgr colour = BgrAt(At(x, row));
  const float own = PixelAlpha(model_, colour);
  if (own <= 0.0f) return own;
  if (own >= 1.0f && !classes_.Is(x, row, kNextToBackground)) return 1.0f;
  const Bgr fromKey = Minus(colour, model_.key);
  float refined = NeighbourAlpha(x, row, fromKey, -1.0f, kRadius);
  if (refined < 0.0f) refined = NeighbourAlpha(x, row, fromKey, own, kFarRadius);
  // Whatever the neighbours say, the vehicle colour must stay in the cube.
  return std::max(refined, CubeAlpha(model_, colour));
}

void CleanEdgeKeyer::KeyRow(int32_t row, uint8_t* destination) const {
  for (int32_t x = 0; x < width_; ++x) {
    const int64_t at = (static_cast<int64_t>(row) * width_ + x) * 4;
    WriteKeyedPixel(model_, source_ + at, Alpha(x, row), destination + at);
  }
}

void WriteKeyedPixel(const KeyModel& model, const uint8_t* in, float alpha, uint8_t* out) {
  const float alphaByte = std::nearbyint(alpha * 255.0f);
  for (int c = 0; c < 3; ++c) {
    const float premultiplied = static_cast<float>(in[c]) - (1.0f - alpha) * model.key[c];
    out[c] = static_cast<uint8_t>(std::clamp(std::nearbyint(premultiplied), 0.0f, alphaByte));
  }
  out[3] = static_cast<uint8_t>(alphaByte);
}

}  // namespace velkor
