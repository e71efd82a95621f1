#include "platform/PixelAccess.h"

#include <bit>

namespace velkor::gdi {

namespace {
uint32_t PaletteColor(const Bitmap& bitmap, unsigned index) {
  if (index >= bitmap.palette.size()) return 0;
  const RGBQUAD& q = bitmap.palette[index];
  return static_cast<uint32_t>(q.rgbBlue) | (static_cast<uint32_t>(q.rgbGreen) << 8) |
         (static_cast<uint32_t>(q.rgbRed) << 16);
}

// Expands a masked field of a 16-bit pixel to 8 bits.
uint32_t Expand(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  uint32_t v = (pixel & mask) >> shift;
  return bits >= 8 ? v >> (bits - 8) : (v << (8 - bits)) | (v >> (2 * bits - 8 > 0 ? 2 * bits - 8 : 0));
}

uint32_t Pack(uint32_t value8, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (v << shift) & mask;
}
}  // namespace

uint32_t ReadPixel(const Bitmap& bitmap, const uint8_t* row, int32_t x) {
  switch (bitmap.bpp()) {
    case 32: {
      const uint8_t* p = row + 4 * x;
      return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
             (static_cast<uint32_t>(p[3]) << 24);
    }
    case 24: {
      const uint8_t* p = row + 3 * x;
      return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }
    case 16: {
      const uint32_t v = static_cast<uint32_t>(row[2 * x]) | (static_cast<uint32_t>(row[2 * x + 1]) << 8);
      return Expand(v, bitmap.masks[2]) | (Expand(v, bitmap.masks[1]) << 8) | (Expand(v, bitmap.masks[0]) << 16);
    }
    case 8: return PaletteColor(bitmap, row[x]);
    case 4: return PaletteColor(bitmap, (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4));
    case 1: return PaletteColor(bitmap, (row[x / 8] >> (7 - (x & 7))) & 1);
    default: return 0;
  }
}

uint8_t NearestPaletteIndex(const Bitmap& bitmap, uint32_t bgra) {
  const int b = bgra & 0xFF, g = (bgra >> 8) & 0xFF, r = (bgra >> 16) & 0xFF;
  int best = 0;
  int bestDistance = 1 << 30;
  for (size_t i = 0; i < bitmap.palette.size(); ++i) {
    const RGBQUAD& q = bitmap.palette[i];
    const int db = q.rgbBlue - b, dg = q.rgbGreen - g, dr = q.rgbRed - r;
    const int d = db * db + dg * dg + dr * dr;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return static_cast<uint8_t>(best);
}

void WritePixel(Bitmap& bitmap, uint8_t* row, int32_t x, uint32_t bgra) {
  switch (bitmap.bpp()) {
    case 32: {
      uint8_t* p = row + 4 * x;
      p[0] = static_cast<uint8_t>(bgra);
      p[1] = static_cast<uint8_t>(bgra >> 8);
      p[2] = static_cast<uint8_t>(bgra >> 16);
      p[3] = static_cast<uint8_t>(bgra >> 24);
      break;
    }
    case 24: {
      uint8_t* p = row + 3 * x;
      p[0] = static_cast<uint8_t>(bgra);
      p[1] = static_cast<uint8_t>(bgra >> 8);
      p[2] = static_cast<uint8_t>(bgra >> 16);
      break;
    }
    case 16: {
      const uint32_t v = Pack(bgra & 0xFF, bitmap.masks[2]) | Pack((bgra >> 8) & 0xFF, bitmap.masks[1]) |
                         Pack((bgra >> 16) & 0xFF, bitmap.masks[0]);
      row[2 * x] = static_cast<uint8_t>(v);
      row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
      break;
    }
    case 8: row[x] = NearestPaletteIndex(bitmap, bgra); break;
    case 4: {
      const uint8_t i = NearestPaletteIndex(bitmap, bgra) & 0x0F;
      uint8_t& byte = row[x / 2];
      byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | i) : static_cast<uint8_t>((byte & 0x0F) | (i << 4));
      break;
    }
    case 1: {
      const uint8_t i = NearestPaletteIndex(bitmap, bgra) & 1;
      uint8_t& byte = row[x / 8];
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      byte = i ? static_cast<uint8_t>(byte | bit) : static_cast<uint8_t>(byte & ~bit);
      break;
    }
    default: break;
  }
}

}  // namespace velkor::gdi
