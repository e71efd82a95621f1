#pragma once
// Where the clean edges rule may unmix. Only the boundary between the vehicle
// and the keyed background mixes the two colours: a pixel further from the
// background than the band's width is vehicle, whatever its hue (lime paint on
// a green key, blue-grey glass on a blue one), and is kept as it is.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pipeline/KeySpill.h"

namespace velkor {

// The band: every pixel within this many pixels of a background pixel,
// across, up, down or diagonally (a square of 2 w + 1 pixels around it).
inline constexpr int32_t kBandWidth = 2;

// What the clean edges rule knows of each pixel before it keys any.
enum PixelClass : uint8_t {
  kBackground = 1,        // at least seven eighths key, by the pixel's own estimate
  kInBand = 2,            // within kBandWidth of the background
  kNextToBackground = 4,  // within one pixel of it: where the mixes of an edge are
};

class PixelClasses {
 public:
  // Classifies every pixel of `source`: width x height pixels B, G, R, A in
  // memory order, 4 * width bytes a row.
  PixelClasses(const KeyModel& model, const uint8_t* source, int32_t width, int32_t height);

  bool Is(int32_t x, int32_t row, PixelClass c) const {
    return (flags_[static_cast<size_t>(row) * static_cast<size_t>(width_) + static_cast<size_t>(x)] & c) != 0;
  }

 private:
  int32_t width_;
  std::vector<uint8_t> flags_;
};

}  // namespace velkor
