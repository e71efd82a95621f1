#include "pipeline/KeyColourAlpha.h"

#include <cstdlib>
#include <vector>

#include "common/Rounding.h"
#include "pipeline/CleanEdgeKey.h"

namespace velkor {

uint8_t KeyAlpha(int distanceB, int distanceG, int distanceR, int tolerance, bool binaryRule) {
  const bool within = distanceB <= tolerance && distanceG <= tolerance && distanceR <= tolerance;
  if (!within) return 255;
  if (binaryRule || tolerance == 0) return 0;
  const double mean = RoundHalfEven((distanceB + distanceG + distanceR) / 3.0);
  return CByte(mean / tolerance * 255);
}

namespace {

// Clean edges reads each pixel's neighbours as they were before keying, so it
// keys from a copy of the image.
void KeyCleanEdges(cAlphaDibSection& image, uint32_t keyColor,
                   const std::function<void(int32_t row, int32_t height)>& rowDone) {
  const int32_t width = image.Width();
  const int32_t height = image.Height();
  uint8_t* bits = image.DIBSectionBitsPtr();
  const std::vector<uint8_t> source(bits, bits + static_cast<size_t>(image.BytesPerScanLine()) * height);
  const CleanEdgeKeyer keyer(source.data(), width, height, keyColor);
  for (int32_t row = 0; row < height; ++row) {
    keyer.KeyRow(row, bits);
    rowDone(row, height);
  }
}

}  // namespace

void KeyImage(cAlphaDibSection& image, const KeyingParameters& parameters,
              const std::function<void(int32_t row, int32_t height)>& rowDone) {
  if (parameters.rule == KeyingRule::CleanEdges) return KeyCleanEdges(image, parameters.keyColor, rowDone);
  const bool binary = parameters.rule == KeyingRule::Binary;
  const int tolerance = parameters.tolerance;
  const int keyR = static_cast<int>(parameters.keyColor & 0xFF);
  const int keyG = static_cast<int>((parameters.keyColor >> 8) & 0xFF);
  const int keyB = static_cast<int>((parameters.keyColor >> 16) & 0xFF);
  const int32_t width = image.Width();
  const int32_t height = image.Height();
  for (int32_t row = 0; row < height; ++row) {
    uint8_t* pixel = image.MemoryRow(row);
    for (int32_t x = 0; x < width; ++x, pixel += 4) {
      const int alpha =
          KeyAlpha(std::abs(pixel[0] - keyB), std::abs(pixel[1] - keyG), std::abs(pixel[2] - keyR), tolerance, binary);
      for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(pixel[c] * alpha / 255);
      pixel[3] = static_cast<uint8_t>(alpha);
    }
    rowDone(row, height);
  }
}

}  // namespace velkor
