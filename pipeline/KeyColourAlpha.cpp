#include "pipeline/KeyColourAlpha.h"

#include <cstdlib>

#include "common/Rounding.h"

namespace velkor {

uint8_t KeyAlpha(int distanceB, int distanceG, int distanceR, int tolerance, bool binaryRule) {
  const bool within = distanceB <= tolerance && distanceG <= tolerance && distanceR <= tolerance;
  if (!within) return 255;
  if (binaryRule || tolerance == 0) return 0;
  const double mean = RoundHalfEven((distanceB + distanceG + distanceR) / 3.0);
  return CByte(mean / tolerance * 255);
}

void KeyImage(cAlphaDibSection& image, const KeyingRule& rule,
              const std::function<void(int32_t row, int32_t height)>& rowDone) {
  const int keyR = static_cast<int>(rule.keyColor & 0xFF);
  const int keyG = static_cast<int>((rule.keyColor >> 8) & 0xFF);
  const int keyB = static_cast<int>((rule.keyColor >> 16) & 0xFF);
  const int32_t width = image.Width();
  const int32_t height = image.Height();
  for (int32_t row = 0; row < height; ++row) {
    uint8_t* pixel = image.MemoryRow(row);
    for (int32_t x = 0; x < width; ++x, pixel += 4) {
      const int alpha = KeyAlpha(std::abs(pixel[0] - keyB), std::abs(pixel[1] - keyG), std::abs(pixel[2] - keyR),
                                 rule.tolerance, rule.binary);
      for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(pixel[c] * alpha / 255);
      pixel[3] = static_cast<uint8_t>(alpha);
    }
    rowDone(row, height);
  }
}

}  // namespace velkor
