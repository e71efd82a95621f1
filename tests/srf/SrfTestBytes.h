#pragma once
// SRF files made byte by byte in the tests, from the file layout itself and
// not from the program's writer, so the two can be compared.
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "raster/cAlphaDibSection.h"
#include "support/Raised.h"

namespace velkor::testing {

using Bytes = std::vector<uint8_t>;
using Sizes = std::vector<std::pair<int, int>>;

struct Bgra {
  uint8_t b, g, r, a;
  bool operator==(const Bgra&) const = default;
};
using PixelFn = std::function<Bgra(int, int)>;

// A pattern with every channel varying along both axes.
inline Bgra PatternPixel(int x, int y) {
  return Bgra{static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(x * 3 + y * 5), static_cast<uint8_t>(x + y * 11),
              static_cast<uint8_t>(x * 13 + y * 3)};
}

// Picture coordinates: y counted from the top.
inline uint8_t* PixelAt(const cAlphaDibSection& raster, int x, int y) { return raster.PictureRow(y) + 4 * x; }
inline Bgra GetBgra(const cAlphaDibSection& raster, int x, int y) {
  return Bgra{PixelAt(raster, x, y)[0], PixelAt(raster, x, y)[1], PixelAt(raster, x, y)[2], PixelAt(raster, x, y)[3]};
}
inline Bytes PixelBytes(const cAlphaDibSection& raster) {  // every pixel byte in memory order
  return Bytes(raster.DIBSectionBitsPtr(), raster.DIBSectionBitsPtr() + size_t{4} * raster.Width() * raster.Height());
}
inline void FillRaster(cAlphaDibSection& raster, const PixelFn& pixel) {
  for (int y = 0; y < raster.Height(); ++y)
    for (int x = 0; x < raster.Width(); ++x) *reinterpret_cast<Bgra*>(PixelAt(raster, x, y)) = pixel(x, y);
}

// The codes as the file layout defines them.
inline uint16_t ExpectedWord(Bgra c) { return static_cast<uint16_t>((c.r >> 3) << 11 | (c.g >> 3) << 6 | (c.b >> 3)); }
inline uint8_t ExpectedCode(uint8_t a) { return a == 255 ? 0 : static_cast<uint8_t>(std::nearbyint(128.0 - a / 2.0)); }
// What a reader makes of a pixel: five bits per channel, alpha in steps of two.
inline Bgra Decoded(Bgra c) {
  const int code = ExpectedCode(c.a);
  return Bgra{uint8_t(c.b & 0xF8), uint8_t(c.g & 0xF8), uint8_t(c.r & 0xF8), uint8_t(code ? (128 - code) * 2 : 255)};
}

// The rows of records `sizes`, and what a reader shows at (x, y) of them when
// they were cut from picture row `top` on: opaque white right of a narrower one.
inline int Rows(const Sizes& sizes) {
  int rows = 0;
  for (const auto& size : sizes) rows += size.second;
  return rows;
}
inline Bgra RecordPixel(const Sizes& sizes, int x, int y, int top = 0) {
  int inside = 0;
  for (int rows = y; const auto& [w, h] : sizes)
    if (rows >= 0 && (rows -= h) < 0) inside = w;
  return x < inside ? Decoded(PatternPixel(x, top + y)) : Bgra{255, 255, 255, 255};
}

// Little-endian field of `n` bytes at `at`; the first `n` bytes; text as bytes.
inline Bytes Put(Bytes b, size_t at, int n, int64_t v) {
  for (int i = 0; i < n; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i));
  return b;
}
inline Bytes Cut(const Bytes& b, size_t n) { return {b.begin(), b.begin() + ptrdiff_t(n)}; }
inline Bytes Text(const std::string& s) { return {s.begin(), s.end()}; }

// Little-endian fields appended in file order.
struct ByteBuilder {
  Bytes bytes;
  ByteBuilder& Text(const std::string& s) { return bytes.insert(bytes.end(), s.begin(), s.end()), *this; }
  ByteBuilder& I32(int64_t v) { return U8(int(v)).U8(int(v >> 8)).U8(int(v >> 16)).U8(int(v >> 24)); }
  ByteBuilder& I16(int v) { return U8(v).U8(v >> 8); }
  ByteBuilder& U8(int v) { return bytes.push_back(static_cast<uint8_t>(v)), *this; }
};

inline void AppendHeader(ByteBuilder& out, int imageCount, const std::string& version) {
  out.Text("GARMIN BITMAP 01").I32(4).I32(4).I32(imageCount);
  out.I32(5).I32(3).Text("578").I32(6).I32(4).Text(version).I32(7).I32(12).Text("006-D0578-00");
}

// A record of W x H pixels, pixel(x, y) giving its raster colour and alpha.
inline void AppendRecord(ByteBuilder& out, int w, int h, const PixelFn& pixel) {
  out.I32(0).I32(16).I32(0).I16(h).I16(w).U8(16).U8(8).I16(2 * w).I32(0);
  out.I32(11).I32(int64_t{w} * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.U8(ExpectedCode(pixel(x, y).a));
  out.I32(1).I32(int64_t{2} * w * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.I16(ExpectedWord(pixel(x, y)));
}

// The trailer of 0xFF bytes (`last` at its end), then the checksum byte:
// 256 - s for s the sum of all bytes mod 255, 0 when s is 0.
inline void AppendTrailerAndChecksum(ByteBuilder& out, size_t trailer, uint8_t last = 0xFF) {
  out.bytes.resize(out.bytes.size() + trailer, 0xFF);
  if (trailer > 0) out.bytes.back() = last;
  unsigned s = 0;
  for (uint8_t b : out.bytes) s = (s + b) % 255;
  out.U8(s == 0 ? 0 : 256 - s);
}

// A whole file of records of the given sizes stacked from picture row `top`
// down; the trailer's last byte is 0 in animated files (4 records).
inline Bytes SrfFile(const std::string& version, const Sizes& sizes, size_t trailer, int top = 0,
                     const PixelFn& pixel = PatternPixel) {
  ByteBuilder out;
  AppendHeader(out, static_cast<int>(sizes.size()), version);
  for (const auto& [w, h] : sizes) {
    AppendRecord(out, w, h, [&, top](int x, int y) { return pixel(x, top + y); });
    top += h;
  }
  AppendTrailerAndChecksum(out, trailer, sizes.size() == 4 ? 0 : 0xFF);
  return out.bytes;
}

}  // namespace velkor::testing
