#include "srf/SrfCodes.h"

#include "common/Rounding.h"

namespace velkor {

SRFColorBytes PackSRFColor(uint8_t r, uint8_t g, uint8_t b) {
  const auto high = static_cast<uint8_t>((r & 0xF8) | (g >> 5));
  // Green bit 2 is dropped and bit 5 of the low byte stays 0.
  const auto low = static_cast<uint8_t>(((g & 0x18) << 3) | (b >> 3));
  return {high, low};
}

uint32_t SRFColorToRGB(uint8_t low, uint8_t high) {
  const SRFRgb c = UnpackSRFColor(low, high);
  return c.r + 256u * c.g + 65536u * c.b;
}

uint8_t AlphaToSRFCode(uint8_t alpha) {
  if (alpha == 255) return 0;
  // Odd alphas land on a half; ties go to the even code.
  return CByte(128.0 - alpha / 2.0);
}

uint8_t SRFCodeToAlpha(uint8_t code) {
  if (code == 0) return 255;
  const auto alpha = static_cast<int16_t>((128 - code) * 2);
  return CByte(alpha);  // negative for codes above 128: overflow
}

}  // namespace velkor
