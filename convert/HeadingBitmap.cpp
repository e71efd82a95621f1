#include "convert/HeadingBitmap.h"

#include <algorithm>

namespace velkor {

namespace {

// FreeImage rows run bottom-up and hold B, G, R(, A) on little-endian hosts.
BYTE* TopRow(FIBITMAP* bitmap, int y) {
  return FreeImage_GetScanLine(bitmap, static_cast<int>(FreeImage_GetHeight(bitmap)) - 1 - y);
}

}  // namespace

FIBITMAP* HeadingToBitmap(const HeadingFrame& frame) {
  FIBITMAP* bitmap = FreeImage_Allocate(frame.width, frame.height, 32);
  if (!bitmap) return nullptr;
  const uint8_t* in = frame.rgba.data();
  for (int y = 0; y < frame.height; ++y) {
    BYTE* out = TopRow(bitmap, y);
    for (int x = 0; x < frame.width; ++x, in += 4, out += 4) {
      out[FI_RGBA_RED] = in[0];
      out[FI_RGBA_GREEN] = in[1];
      out[FI_RGBA_BLUE] = in[2];
      out[FI_RGBA_ALPHA] = in[3];
    }
  }
  return bitmap;
}

void UnpremultiplyBitmap(FIBITMAP* bitmap) {
  const int width = static_cast<int>(FreeImage_GetWidth(bitmap));
  for (int y = 0; y < static_cast<int>(FreeImage_GetHeight(bitmap)); ++y) {
    BYTE* p = FreeImage_GetScanLine(bitmap, y);
    for (int x = 0; x < width; ++x, p += 4) {
      const int a = p[FI_RGBA_ALPHA];
      for (int c : {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE}) {
        p[c] = a == 0 ? 0 : static_cast<BYTE>(std::min(255, (p[c] * 255 + a / 2) / a));
      }
    }
  }
}

}  // namespace velkor
