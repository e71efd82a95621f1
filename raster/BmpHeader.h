#pragma once
// The 14-byte file header and 40-byte information header of a BMP file, as
// both rasters write them. The pixel data starts after the headers and
// `tableBytes` bytes of colour table.
#include <cstdint>
#include <vector>

namespace velkor {

struct BmpLayout {
  int32_t width = 0;
  int32_t heightField = 0;  // positive: rows bottom-up; negative: top-down
  uint16_t bitsPerPixel = 0;
  uint32_t imageSize = 0;  // bytes of pixel data
  uint32_t colorsUsed = 0;
  uint32_t tableBytes = 0;
};

std::vector<uint8_t> BmpHeaders(const BmpLayout& layout);

}  // namespace velkor
