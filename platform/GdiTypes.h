#pragma once
// The drawing layer's records and handles. The names and meanings follow the
// Windows graphics interface that the rest of the program is written against;
// the implementation is our own and portable.
#include <cstdint>
#include <memory>
#include <vector>

namespace velkor::gdi {

using COLORREF = uint32_t;  // 0x00BBGGRR
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
inline constexpr uint32_t SRCCOPY = 0x00CC0020u;
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_NULL = 5;
inline constexpr uint32_t DIB_RGB_COLORS = 0;
inline constexpr uint32_t BI_RGB = 0;
inline constexpr uint32_t IMAGE_BITMAP = 0;
inline constexpr uint32_t LR_LOADFROMFILE = 0x10;
inline constexpr uint32_t LR_CREATEDIBSECTION = 0x2000;
inline constexpr uint8_t AC_SRC_OVER = 0;
inline constexpr uint8_t AC_SRC_ALPHA = 1;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GetGValue(COLORREF c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t GetBValue(COLORREF c) { return static_cast<uint8_t>(c >> 16); }

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // positive: rows bottom-up; negative: top-down
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = BI_RGB;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};
struct RGBQUAD {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(RGBQUAD) == 4);

// What GetObjectA reports of a bitmap.
struct BITMAP {
  int32_t bmType = 0;
  int32_t bmWidth = 0;
  int32_t bmHeight = 0;  // always positive
  int32_t bmWidthBytes = 0;
  uint16_t bmPlanes = 1;
  uint16_t bmBitsPixel = 0;
  void* bmBits = nullptr;
};

struct BLENDFUNCTION {
  uint8_t BlendOp = AC_SRC_OVER;
  uint8_t BlendFlags = 0;
  uint8_t SourceConstantAlpha = 255;
  uint8_t AlphaFormat = 0;
};

struct RECT {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class GdiObject;
class Bitmap;
class Pen;
class Brush;
class DeviceContext;
using HGDIOBJ = GdiObject*;
using HBITMAP = Bitmap*;
using HPEN = Pen*;
using HBRUSH = Brush*;
using HDC = DeviceContext*;

}  // namespace velkor::gdi
