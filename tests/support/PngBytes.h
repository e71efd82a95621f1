#pragma once
// PNG files put together chunk by chunk, so that a test can declare any size
// or depth in the header whatever pixels follow.
#include <zlib.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace velkor::testing {

inline void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void AppendChunk(std::vector<uint8_t>& out, const std::string& type, const std::vector<uint8_t>& data) {
  PutBE32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> typed(type.begin(), type.end());
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBE32(out, static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

inline std::vector<uint8_t> Zlib(const std::vector<uint8_t>& raw) {
  uLongf size = compressBound(raw.size());
  std::vector<uint8_t> z(size);
  compress(z.data(), &size, raw.data(), raw.size());
  z.resize(size);
  return z;
}

// A PNG declaring width x height at `bitDepth` and `colourType` whose image
// data is `raw` (filter bytes included), however little that is.
inline std::vector<uint8_t> PngWithHeader(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                                          const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBE32(ihdr, width);
  PutBE32(ihdr, height);
  ihdr.insert(ihdr.end(), {bitDepth, colourType, 0, 0, 0});
  AppendChunk(png, "IHDR", ihdr);
  if (colourType == 3) AppendChunk(png, "PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255});
  AppendChunk(png, "IDAT", Zlib(raw));
  AppendChunk(png, "IEND", {});
  return png;
}

// Image data of unfiltered rows (each gets its filter byte 0).
inline std::vector<uint8_t> Rows(std::initializer_list<std::vector<uint8_t>> rows) {
  std::vector<uint8_t> raw;
  for (const auto& row : rows) {
    raw.push_back(0);
    raw.insert(raw.end(), row.begin(), row.end());
  }
  return raw;
}

}  // namespace velkor::testing
