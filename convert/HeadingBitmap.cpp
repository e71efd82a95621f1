#include "convert/HeadingBitmap.h"

#include <algorithm>
#include <cstdlib>

namespace velkor {

namespace {

// FreeImage rows run bottom-up and hold B, G, R(, A) on little-endian hosts.
BYTE* TopRow(FIBITMAP* bitmap, int y) {
  return FreeImage_GetScanLine(bitmap, static_cast<int>(FreeImage_GetHeight(bitmap)) - 1 - y);
}

uint8_t Over(uint8_t premultiplied, uint8_t alpha, uint8_t background) {
  return static_cast<uint8_t>(premultiplied + (background * (255 - alpha) + 127) / 255);
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

void MapBackgroundPixel(int x, int y, int width, int height, uint8_t rgb[3]) {
  const int centre = height / 2, half = height / 6;
  const bool road = std::abs(y - centre) <= half;
  const bool kerb = std::abs(y - centre) == half;
  const bool dash = (y == centre || y == centre - 1) && (x * 8 / std::max(width, 1)) % 2 == 0;
  const uint8_t beige[3] = {242, 234, 214}, asphalt[3] = {168, 168, 164}, edge[3] = {128, 128, 124},
                white[3] = {250, 250, 250};
  const uint8_t* c = !road ? beige : kerb ? edge : dash ? white : asphalt;
  rgb[0] = c[0];
  rgb[1] = c[1];
  rgb[2] = c[2];
}

FIBITMAP* HeadingOverMap(const HeadingFrame& frame) {
  FIBITMAP* bitmap = FreeImage_Allocate(frame.width, frame.height, 24);
  if (!bitmap) return nullptr;
  const uint8_t* in = frame.rgba.data();
  for (int y = 0; y < frame.height; ++y) {
    BYTE* out = TopRow(bitmap, y);
    for (int x = 0; x < frame.width; ++x, in += 4, out += 3) {
      uint8_t map[3];
      MapBackgroundPixel(x, y, frame.width, frame.height, map);
      out[FI_RGBA_RED] = Over(in[0], in[3], map[0]);
      out[FI_RGBA_GREEN] = Over(in[1], in[3], map[1]);
      out[FI_RGBA_BLUE] = Over(in[2], in[3], map[2]);
    }
  }
  return bitmap;
}

}  // namespace velkor
