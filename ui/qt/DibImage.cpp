#include "ui/qt/DibImage.h"

namespace velkor::qt {

QImage OpaqueImage(const cAlphaDibSection& raster) {
  if (raster.Empty() || raster.Width() <= 0 || raster.Height() <= 0) return {};
  const int w = raster.Width();
  const int h = raster.Height();
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = raster.PictureRow(y);
    auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = src + 4 * x;
      dst[x] = 0xFF000000u | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
    }
  }
  return image;
}

}  // namespace velkor::qt
