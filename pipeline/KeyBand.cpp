// The background is what the pixel's own estimate (KeySpill.cpp) judges to be
// at least seven eighths key: pure key, the faintest edge mixes, and noise in
// the key. The band grows from it in every direction, so the key seen through
// a window or between the wheels has its band as the outline has. A resized
// edge mixes over one pixel, two when resized in steps: the band's two pixels
// hold it. Beyond it the vehicle's colours are taken as they are.
#include "pipeline/KeyBand.h"

namespace velkor {

namespace {

constexpr float kMostBackgroundAlpha = 0.125f;

// Sets `to` on every pixel within `radius` of a pixel that has `from` (a
// square around it): one pass along the rows, one along the columns, each
// remembering the last position that had it.
void Grow(std::vector<uint8_t>& flags, int32_t width, int32_t height, int32_t radius, uint8_t from, uint8_t to) {
  const size_t stride = static_cast<size_t>(width);
  const auto at = [stride](int32_t x, int32_t row) {
    return static_cast<size_t>(row) * stride + static_cast<size_t>(x);
  };
  std::vector<uint8_t> across(flags.size());
  for (int32_t row = 0; row < height; ++row) {
    int32_t last = -2 * radius - 1;
    for (int32_t x = 0; x < width + radius; ++x) {
      if (x < width && (flags[at(x, row)] & from)) last = x;
      if (x >= radius) across[at(x - radius, row)] = x - last <= 2 * radius;
    }
  }
  for (int32_t x = 0; x < width; ++x) {
    int32_t last = -2 * radius - 1;
    for (int32_t row = 0; row < height + radius; ++row) {
      if (row < height && across[at(x, row)]) last = row;
      if (row >= radius && row - last <= 2 * radius) flags[at(x, row - radius)] |= to;
    }
  }
}

}  // namespace

PixelClasses::PixelClasses(const KeyModel& model, const uint8_t* source, int32_t width, int32_t height)
    : width_(width), flags_(static_cast<size_t>(width) * static_cast<size_t>(height)) {
  for (size_t i = 0; i < flags_.size(); ++i)
    flags_[i] = PixelAlpha(model, BgrAt(source + 4 * i)) <= kMostBackgroundAlpha ? kBackground : 0;
  Grow(flags_, width, height, kBandWidth, kBackground, kInBand);
  Grow(flags_, width, height, 1, kBackground, kNextToBackground);
}

}  // namespace velkor
