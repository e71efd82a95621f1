// Block copies, stretching and alpha blending between device contexts.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "platform/PixelAccess.h"

namespace velkor::gdi {

namespace {

Bitmap* Surface(HDC dc) { return dc ? dc->bitmap : nullptr; }

// The range [first, last) of offsets i in [0, size) for which both
// dst + i and src + i fall inside their surfaces.
struct Span1D {
  int64_t first, last;
  bool empty() const { return first >= last; }
};
Span1D Clip(int64_t size, int64_t dst, int64_t dstExtent, int64_t src, int64_t srcExtent) {
  Span1D s{std::max<int64_t>({0, -dst, -src}), std::min<int64_t>({size, dstExtent - dst, srcExtent - src})};
  return s;
}

// n pixels of B, G, R into B, G, R, 0. Each pixel is read as a 4-byte word
// whose top byte (the next pixel's blue) is masked off; the last pixel, whose
// fourth byte may lie past the row, is copied byte by byte.
void Expand24To32(uint8_t* dst, const uint8_t* src, int64_t n) {
  int64_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {  // blue is the word's low byte
    for (; i + 1 < n; ++i, src += 3, dst += 4) {
      uint32_t p;
      std::memcpy(&p, src, 4);
      p &= 0x00FFFFFFu;
      std::memcpy(dst, &p, 4);
    }
  }
  for (; i < n; ++i, src += 3, dst += 4) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
    dst[3] = 0;
  }
}

void CopyRows(Bitmap& to, const Bitmap& from, int32_t x, int32_t y, int32_t xs, int32_t ys, Span1D cols, Span1D rows) {
  const int64_t n = cols.last - cols.first;
  if (to.bpp() == 32 && from.bpp() == 32) {
    for (int64_t r = rows.first; r < rows.last; ++r) {
      std::memmove(to.row(static_cast<int32_t>(y + r)) + 4 * (x + cols.first),
                   from.row(static_cast<int32_t>(ys + r)) + 4 * (xs + cols.first), static_cast<size_t>(4 * n));
    }
    return;
  }
  if (to.bpp() == 24 && from.bpp() == 24) {
    for (int64_t r = rows.first; r < rows.last; ++r) {
      std::memmove(to.row(static_cast<int32_t>(y + r)) + 3 * (x + cols.first),
                   from.row(static_cast<int32_t>(ys + r)) + 3 * (xs + cols.first), static_cast<size_t>(3 * n));
    }
    return;
  }
  if (to.bpp() == 32 && from.bpp() == 24) {  // the usual frame file into the strip
    for (int64_t r = rows.first; r < rows.last; ++r) {
      Expand24To32(to.row(static_cast<int32_t>(y + r)) + 4 * (x + cols.first),
                   from.row(static_cast<int32_t>(ys + r)) + 3 * (xs + cols.first), n);
    }
    return;
  }
  for (int64_t r = rows.first; r < rows.last; ++r) {
    const uint8_t* src = from.row(static_cast<int32_t>(ys + r));
    uint8_t* dst = to.row(static_cast<int32_t>(y + r));
    for (int64_t c = cols.first; c < cols.last; ++c) {
      // Only a 32-bit source carries a fourth byte; from any other depth it is 0.
      uint32_t p = ReadPixel(from, src, static_cast<int32_t>(xs + c));
      if (from.bpp() != 32) p &= 0x00FFFFFFu;
      WritePixel(to, dst, static_cast<int32_t>(x + c), p);
    }
  }
}

// A private copy of a block, for copies within one bitmap that may overlap.
Bitmap* CopyOfBlock(const Bitmap& from, int32_t xs, int32_t ys, Span1D cols, Span1D rows) {
  const int32_t w = static_cast<int32_t>(cols.last - cols.first);
  const int32_t h = static_cast<int32_t>(rows.last - rows.first);
  BITMAPINFOHEADER header;
  header.biWidth = w;
  header.biHeight = -h;
  header.biBitCount = static_cast<uint16_t>(from.bpp());
  HBITMAP copy = CreateDIBSection(nullptr, header, from.palette, DIB_RGB_COLORS, nullptr, nullptr, 0);
  if (!copy) return nullptr;
  copy->masks[0] = from.masks[0];
  copy->masks[1] = from.masks[1];
  copy->masks[2] = from.masks[2];
  CopyRows(*copy, from, 0, 0, static_cast<int32_t>(xs + cols.first), static_cast<int32_t>(ys + rows.first),
           Span1D{0, w}, Span1D{0, h});
  return copy;
}

}  // namespace

bool BitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
            uint32_t rop) {
  Bitmap* to = Surface(dst);
  Bitmap* from = Surface(src);
  if (!to || !from || rop != SRCCOPY || width < 0 || height < 0) return false;
  const Span1D cols = Clip(width, x, to->width(), xSrc, from->width());
  const Span1D rows = Clip(height, y, to->height(), ySrc, from->height());
  if (cols.empty() || rows.empty()) return true;
  if (to == from) {
    Bitmap* copy = CopyOfBlock(*from, xSrc, ySrc, cols, rows);
    if (!copy) return false;
    CopyRows(*to, *copy, static_cast<int32_t>(x + cols.first), static_cast<int32_t>(y + rows.first), 0, 0,
             Span1D{0, cols.last - cols.first}, Span1D{0, rows.last - rows.first});
    DeleteObject(copy);
    return true;
  }
  CopyRows(*to, *from, x, y, xSrc, ySrc, cols, rows);
  return true;
}

namespace {
// Source coordinate of destination offset i when size d maps onto size s:
// the source pixel under the centre of the destination pixel.
int64_t NearestSource(int64_t i, int64_t d, int64_t s) { return ((2 * i + 1) * s) / (2 * d); }

// Destination offsets [first, last) that fall inside the destination surface.
Span1D ClipDestination(int64_t size, int64_t dst, int64_t extent) {
  return Span1D{std::max<int64_t>(0, -dst), std::min<int64_t>(size, extent - dst)};
}

template <typename PixelOp>
void ForEachStretched(Bitmap& to, const Bitmap& from, int32_t x, int32_t y, int32_t w, int32_t h, int32_t xs,
                      int32_t ys, int32_t ws, int32_t hs, PixelOp op) {
  const Span1D cols = ClipDestination(w, x, to.width());
  const Span1D rows = ClipDestination(h, y, to.height());
  for (int64_t r = rows.first; r < rows.last; ++r) {
    const int64_t sy = ys + NearestSource(r, h, hs);
    if (sy < 0 || sy >= from.height()) continue;
    const uint8_t* srcRow = from.row(static_cast<int32_t>(sy));
    uint8_t* dstRow = to.row(static_cast<int32_t>(y + r));
    for (int64_t c = cols.first; c < cols.last; ++c) {
      const int64_t sx = xs + NearestSource(c, w, ws);
      if (sx < 0 || sx >= from.width()) continue;
      op(dstRow, static_cast<int32_t>(x + c), ReadPixel(from, srcRow, static_cast<int32_t>(sx)));
    }
  }
}
}  // namespace

bool StretchBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
                int32_t srcWidth, int32_t srcHeight, uint32_t rop) {
  Bitmap* to = Surface(dst);
  Bitmap* from = Surface(src);
  if (!to || !from || rop != SRCCOPY || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) {
    return false;
  }
  if (width == srcWidth && height == srcHeight) return BitBlt(dst, x, y, width, height, src, xSrc, ySrc, rop);
  if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return true;
  Bitmap* source = from;
  Bitmap* copy = nullptr;
  if (to == from) {  // stretching within one bitmap reads from a snapshot
    copy = CopyOfBlock(*from, 0, 0, Span1D{0, from->width()}, Span1D{0, from->height()});
    if (!copy) return false;
    source = copy;
  }
  const bool keepFourth = source->bpp() == 32;
  ForEachStretched(
      *to, *source, x, y, width, height, xSrc, ySrc, srcWidth, srcHeight,
      [&](uint8_t* row, int32_t px, uint32_t p) { WritePixel(*to, row, px, keepFourth ? p : (p & 0x00FFFFFFu)); });
  if (copy) DeleteObject(copy);
  return true;
}

namespace {
uint8_t BlendChannel(uint32_t s, uint32_t d, double k, double keep) {
  const double v = std::nearbyint(s * k + d * keep);
  return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
}
}  // namespace

bool AlphaBlend(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
                int32_t srcWidth, int32_t srcHeight, BLENDFUNCTION blend) {
  Bitmap* to = Surface(dst);
  Bitmap* from = Surface(src);
  if (!to || !from || to == from || blend.BlendOp != AC_SRC_OVER || blend.BlendFlags != 0) return false;
  if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) return false;
  const bool perPixel = blend.AlphaFormat == AC_SRC_ALPHA;
  if (perPixel && from->bpp() != 32) return false;
  // The source block must lie inside the source surface.
  if (xSrc < 0 || ySrc < 0 || static_cast<int64_t>(xSrc) + srcWidth > from->width() ||
      static_cast<int64_t>(ySrc) + srcHeight > from->height()) {
    return false;
  }
  if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return true;
  const double k = blend.SourceConstantAlpha / 255.0;
  const bool fourth = to->bpp() == 32;
  ForEachStretched(*to, *from, x, y, width, height, xSrc, ySrc, srcWidth, srcHeight,
                   [&](uint8_t* row, int32_t px, uint32_t s) {
                     const double srcAlpha = perPixel ? (s >> 24) * k : blend.SourceConstantAlpha;
                     const double keep = 1.0 - srcAlpha / 255.0;
                     const uint32_t d = ReadPixel(*to, row, px);
                     uint32_t out = BlendChannel(s & 0xFF, d & 0xFF, k, keep) |
                                    (BlendChannel((s >> 8) & 0xFF, (d >> 8) & 0xFF, k, keep) << 8) |
                                    (BlendChannel((s >> 16) & 0xFF, (d >> 16) & 0xFF, k, keep) << 16);
                     if (fourth) {
                       const uint32_t sa = perPixel ? (s >> 24) : 0;
                       out |= static_cast<uint32_t>(BlendChannel(sa, d >> 24, k, keep)) << 24;
                     }
                     WritePixel(*to, row, px, out);
                   });
  return true;
}

}  // namespace velkor::gdi
