#pragma once
// The optional DrawDib painting service. Here it draws a raster's pixels
// unscaled, as a block copy does.
#include <cstdint>

#include "platform/GdiTypes.h"

namespace velkor::gdi {

using HDRAWDIB = void*;
HDRAWDIB DrawDibOpen();
bool DrawDibClose(HDRAWDIB handle);
// Draws the block (xSrc, ySrc, w, h) of the DIB held by `source` at (x, y) of `dst`.
bool DrawDibDraw(HDRAWDIB handle, HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC source, int32_t xSrc,
                 int32_t ySrc);

}  // namespace velkor::gdi
