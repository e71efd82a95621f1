#pragma once
// What the clean edges rule knows of a key colour: which channels make it
// stand out (its dominant channels), how far they stand above the others, and
// from that the range of alphas a pixel can have if it is a mix of the key and
// a vehicle colour that does not look like the key.
#include <array>
#include <cstdint>

namespace velkor {

using Bgr = std::array<float, 3>;  // B, G, R as in pixel memory, 0..255

struct KeyModel {
  Bgr key{};
  std::array<bool, 3> dominant{};  // the key's channels at or above its mid-level
  float keySpill = 0;              // Spill(key): how far the key stands out; 0 for a grey key
  bool chromatic = false;          // keySpill is large enough to key by
};

// The key 0x00BBGGRR as the estimator sees it.
KeyModel ModelOfKey(uint32_t keyColour);

// How far the dominant channels of `colour` stand above the others: the least
// dominant channel minus the greatest other one (negative when they do not).
float Spill(const KeyModel& model, const Bgr& colour);

// The least alpha for which the vehicle colour (C - (1 - a) K) / a lies in the
// RGB cube: below it some channel of the vehicle would leave 0..255.
float CubeAlpha(const KeyModel& model, const Bgr& colour);

// The alpha of a pixel on its own: the most of it that can be vehicle once
// the vehicle is not allowed to look like the key (see KeySpill.cpp).
float PixelAlpha(const KeyModel& model, const Bgr& colour);

inline Bgr BgrAt(const uint8_t* pixel) { return Bgr{float(pixel[0]), float(pixel[1]), float(pixel[2])}; }

}  // namespace velkor
