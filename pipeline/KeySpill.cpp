// The per-pixel half of the clean edges estimator.
//
// An anti-aliased pixel is C = a F + (1 - a) K: a part a of vehicle colour F
// over the key K. Seen from K, the candidate vehicle colours for C lie on the
// ray F(a) = K + (C - K) / a, further from K the smaller a is. Two facts bound
// a on that ray:
//  - F lies in the RGB cube, which gives a lower bound (CubeAlpha);
//  - the vehicle does not look like the key: its key-dominant channels do not
//    stand above its other channels (Spill(F) <= 0). Spill is linear along
//    the ray, Spill(F(a)) = Spill(K) + (Spill(C) - Spill(K)) / a, so this
//    holds exactly for a <= 1 - Spill(C) / Spill(K): an upper bound.
// The upper bound is taken: it removes the least key colour that leaves no
// spill, so a vehicle colour with no key in it (Spill(C) <= 0) stays opaque
// and untouched, and the key itself (Spill(C) = Spill(K)) becomes clear. For
// grey and dark vehicles it is exact; saturated vehicle colours need the
// neighbourhood's help (CleanEdgeKey.cpp). A grey key has no dominant
// channels, and only the cube bound is left.
#include "pipeline/KeySpill.h"

#include <algorithm>

namespace velkor {

namespace {
// Below this a key is too grey for its channels to tell vehicle from key.
constexpr float kLeastKeySpill = 32.0f;
}  // namespace

KeyModel ModelOfKey(uint32_t keyColour) {
  KeyModel model;
  model.key = Bgr{float(keyColour >> 16 & 0xFF), float(keyColour >> 8 & 0xFF), float(keyColour & 0xFF)};
  const float high = std::max({model.key[0], model.key[1], model.key[2]});
  const float low = std::min({model.key[0], model.key[1], model.key[2]});
  for (int c = 0; c < 3; ++c) model.dominant[c] = high > low && model.key[c] >= (high + low) / 2;
  model.keySpill = Spill(model, model.key);
  model.chromatic = model.keySpill >= kLeastKeySpill;
  return model;
}

float Spill(const KeyModel& model, const Bgr& colour) {
  float dominantLeast = 255.0f, otherMost = 0.0f;
  bool anyDominant = false, anyOther = false;
  for (int c = 0; c < 3; ++c) {
    if (model.dominant[c]) {
      dominantLeast = std::min(dominantLeast, colour[c]);
      anyDominant = true;
    } else {
      otherMost = std::max(otherMost, colour[c]);
      anyOther = true;
    }
  }
  return anyDominant && anyOther ? dominantLeast - otherMost : 0.0f;
}

float CubeAlpha(const KeyModel& model, const Bgr& colour) {
  float alpha = 0.0f;
  for (int c = 0; c < 3; ++c) {
    const float k = model.key[c];
    const float d = colour[c] - k;
    if (d > 0) alpha = std::max(alpha, d / (255.0f - k));
    if (d < 0) alpha = std::max(alpha, -d / k);
  }
  return std::min(alpha, 1.0f);
}

float PixelAlpha(const KeyModel& model, const Bgr& colour) {
  const float cube = CubeAlpha(model, colour);
  if (!model.chromatic) return cube;
  const float spillBound = std::clamp(1.0f - Spill(model, colour) / model.keySpill, 0.0f, 1.0f);
  return std::max(spillBound, cube);
}

}  // namespace velkor
