#pragma once
// The two per-pixel encodings of SRF files and their conversions to and from
// the raster's 8-bit channels.
//
// Colour word (16 bits, stored low byte first): red bits 7..3 in bits 15..11,
// green bits 7..3 in bits 10..6, bit 5 always 0, blue bits 7..3 in bits 4..0.
// Alpha code (8 bits): 0 opaque, 128 transparent, 1..127 in between in steps
// of two raster alpha units; codes above 128 are invalid.
#include <cstdint>

namespace velkor {

struct SRFColorBytes {
  uint8_t high;
  uint8_t low;
};

struct SRFRgb {
  uint8_t r;
  uint8_t g;
  uint8_t b;
};

// High byte first: the caller writes low, then high.
SRFColorBytes PackSRFColor(uint8_t r, uint8_t g, uint8_t b);
// Inline: the readers decode every pixel of a file through it.
inline SRFRgb UnpackSRFColor(uint8_t low, uint8_t high) {
  const auto r = static_cast<uint8_t>(high & 0xF8);
  const auto g = static_cast<uint8_t>(((high & 0x07) << 5) | ((low & 0xC0) >> 3));
  const auto b = static_cast<uint8_t>((low & 0x1F) << 3);
  return {r, g, b};
}
// The decoded colour as 0x00BBGGRR, the form SetPixel takes.
uint32_t SRFColorToRGB(uint8_t low, uint8_t high);

uint8_t AlphaToSRFCode(uint8_t alpha);
// Raises the overflow error (6) for codes above 128.
uint8_t SRFCodeToAlpha(uint8_t code);

inline constexpr uint8_t kMaxSRFAlphaCode = 128;

}  // namespace velkor
