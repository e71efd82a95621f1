#include "platform/DrawDib.h"

#include "platform/Gdi.h"

namespace velkor::gdi {

namespace {
struct DrawDibService {};
}  // namespace

HDRAWDIB DrawDibOpen() { return new DrawDibService(); }

bool DrawDibClose(HDRAWDIB handle) {
  if (!handle) return false;
  delete static_cast<DrawDibService*>(handle);
  return true;
}

bool DrawDibDraw(HDRAWDIB handle, HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC source, int32_t xSrc,
                 int32_t ySrc) {
  if (!handle) return false;
  return BitBlt(dst, x, y, w, h, source, xSrc, ySrc, SRCCOPY);
}

}  // namespace velkor::gdi
