#pragma once
// Reading and writing one pixel of a bitmap of any depth, as the blits and the
// pixel calls need it. Colours travel as 0xAARRGGBB words (B, G, R, A in
// memory order); the fourth byte is meaningful for 32-bit bitmaps only.
#include <cstdint>

#include "platform/GdiObjects.h"

namespace velkor::gdi {

uint32_t ReadPixel(const Bitmap& bitmap, const uint8_t* row, int32_t x);
void WritePixel(Bitmap& bitmap, uint8_t* row, int32_t x, uint32_t bgra);
// The palette index whose colour lies nearest to 0x..RRGGBB.
uint8_t NearestPaletteIndex(const Bitmap& bitmap, uint32_t bgra);

inline uint32_t ColorRefToBgra(COLORREF c) { return (c & 0x0000FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu); }
inline COLORREF BgraToColorRef(uint32_t p) { return (p & 0x0000FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu); }

}  // namespace velkor::gdi
