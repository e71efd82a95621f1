#include "ui/qt/DibImage.h"

namespace velkor::qt {

QImage OpaqueImage(const cAlphaDibSection& raster) {
  if (raster.Empty() || raster.Width() <= 0 || raster.Height() <= 0) return {};
  const int w = raster.Width();
  const int h = raster.Height();
  QImage image(w, h, QImage::Format_RGB32);
  const int32_t stride = raster.BytesPerScanLine();
  for (int y = 0; y < h; ++y) {
    // Memory row 0 is the picture's bottom row.
    const uint8_t* src = raster.DIBSectionBitsPtr() + static_cast<int64_t>(h - 1 - y) * stride;
    auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = src + 4 * x;
      dst[x] = 0xFF000000u | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
    }
  }
  return image;
}

}  // namespace velkor::qt
