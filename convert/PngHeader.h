#pragma once
// A PNG's declared picture, read from its first chunk (IHDR) without
// decoding anything, and the bound every PNG read is held to before it is
// decoded.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace velkor {

struct PngHeader {
  uint32_t width = 0, height = 0;
  uint32_t bitsPerPixel = 0;  // bit depth times channels
};

// The signature and the IHDR chunk that must follow it.
inline constexpr size_t kPngHeaderBytes = 8 + 8 + 13;

// None unless `bytes` start with the PNG signature and a 13-byte IHDR chunk
// of a depth and colour type the format has; any such file PNG decoders
// refuse too.
std::optional<PngHeader> ParsePngHeader(const uint8_t* bytes, size_t size);

// "" when a PNG file of `length` bytes may hold the picture its header
// declares: at most the pixel limit of every picture read, and no more rows
// than its bytes can inflate to. Otherwise why not.
std::string PngSizeProblem(const PngHeader& header, uint64_t length);

}  // namespace velkor
