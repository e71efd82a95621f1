#pragma once
// Arithmetic shared by the raster filters' inner loops.
#include <cstdint>

namespace velkor::filter {

// The nearest integer, ties to even, for 0 <= value <= 255. Adding and
// taking away 1.5 * 2^52 leaves the sum with no fraction bits, so the
// hardware's round-to-nearest-even does the rounding; this is what
// std::nearbyint gives, without a library call per byte.
inline double RoundTiesEven(double value) {
  constexpr double kShift = 6755399441055744.0;
  return (value + kShift) - kShift;
}

// The value limited to 0..255, then rounded as above.
inline uint8_t ClampRoundByte(double value) {
  if (value <= 0.0) return 0;
  if (value >= 255.0) return 255;
  return static_cast<uint8_t>(RoundTiesEven(value));
}

inline uint8_t ClampByte(int32_t value) { return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value)); }

}  // namespace velkor::filter
