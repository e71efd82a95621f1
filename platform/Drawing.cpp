// Pixel reads and writes, rectangles and fills on a device context.
#include <algorithm>

#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "platform/ParallelFor.h"
#include "platform/PixelAccess.h"

namespace velkor::gdi {

namespace {
bool Inside(const Bitmap& b, int32_t x, int32_t y) { return x >= 0 && y >= 0 && x < b.width() && y < b.height(); }

// Fills [left, right) x [top, bottom), clipped; drawing calls leave 0 in the
// fourth byte of a 32-bit pixel.
void FillBlock(Bitmap& b, int64_t left, int64_t top, int64_t right, int64_t bottom, COLORREF color) {
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, b.width());
  bottom = std::min<int64_t>(bottom, b.height());
  if (left >= right || top >= bottom) return;
  const uint32_t pixel = ColorRefToBgra(color & 0xFFFFFF);
  if (b.bpp() == 32) {
    // The strip's background is the largest fill there is: rows on every core.
    const auto fillRows = [&](int64_t first, int64_t last) {
      for (int64_t y = top + first; y < top + last; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(b.row(static_cast<int32_t>(y)));
        std::fill(row + left, row + right, pixel);
      }
    };
    platform::ParallelFor(bottom - top, platform::RowBand(bottom - top, 4 * (right - left)), fillRows);
    return;
  }
  for (int64_t y = top; y < bottom; ++y) {
    uint8_t* row = b.row(static_cast<int32_t>(y));
    for (int64_t x = left; x < right; ++x) WritePixel(b, row, static_cast<int32_t>(x), pixel);
  }
}
}  // namespace

COLORREF GetPixel(HDC dc, int32_t x, int32_t y) {
  if (!dc || !dc->bitmap || !Inside(*dc->bitmap, x, y)) return CLR_INVALID;
  return BgraToColorRef(ReadPixel(*dc->bitmap, dc->bitmap->row(y), x) & 0x00FFFFFFu);
}

COLORREF SetPixel(HDC dc, int32_t x, int32_t y, COLORREF color) {
  if (!dc || !dc->bitmap || dc->bitmap->stock() || !Inside(*dc->bitmap, x, y)) return CLR_INVALID;
  Bitmap& b = *dc->bitmap;
  uint8_t* row = b.row(y);
  WritePixel(b, row, x, ColorRefToBgra(color & 0xFFFFFF));
  return BgraToColorRef(ReadPixel(b, row, x) & 0x00FFFFFFu);
}

bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!dc || !dc->bitmap) return false;
  if (dc->bitmap->stock()) return true;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return true;
  Bitmap& b = *dc->bitmap;
  const bool outline = dc->pen && dc->pen->style != PS_NULL;
  const bool inside = dc->brush && !dc->brush->hollow;
  if (inside) FillBlock(b, left + 1, top + 1, right - 1, bottom - 1, dc->brush->color);
  if (outline) {
    const COLORREF c = dc->pen->color;
    FillBlock(b, left, top, right, top + 1, c);
    FillBlock(b, left, bottom - 1, right, bottom, c);
    FillBlock(b, left, top, left + 1, bottom, c);
    FillBlock(b, right - 1, top, right, bottom, c);
  } else if (inside) {
    // Without a pen GDI fills one pixel less on the right and bottom.
    FillBlock(b, left, top, right - 1, top + 1, dc->brush->color);
    FillBlock(b, left, top, left + 1, bottom - 1, dc->brush->color);
  }
  return true;
}

int FillRect(HDC dc, const RECT& rect, HBRUSH brush) {
  if (!dc || !dc->bitmap || !brush) return 0;
  if (!dc->bitmap->stock() && !brush->hollow) {
    FillBlock(*dc->bitmap, rect.left, rect.top, rect.right, rect.bottom, brush->color);
  }
  return 1;
}

}  // namespace velkor::gdi
