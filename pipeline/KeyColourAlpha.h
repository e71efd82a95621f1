#pragma once
// The alpha stage's kernel: the key colour becomes transparency, and every
// pixel's colour is premultiplied by its new alpha, as painting and the SRF
// writers expect.
#include <cstdint>
#include <functional>

#include "pipeline/KeyingRule.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {

// The alpha of one pixel from its distance to the key colour, channel by
// channel (each 0..255), and the tolerance T (0..255).
// Binary rule (frames not anti-aliased): 0 when every distance is within T,
// otherwise 255.
// Graded rule: 255 when any distance exceeds T; otherwise 0 for T = 0, and
// round(round(mean distance) / T * 255) for T > 0, ties to even.
uint8_t KeyAlpha(int distanceB, int distanceG, int distanceR, int tolerance, bool binaryRule);

struct KeyingParameters {
  uint32_t keyColor = 65280;  // 0x00BBGGRR
  int tolerance = 0;          // graded and binary rules
  KeyingRule rule = KeyingRule::Graded;
};

// Keys every pixel of `image` in place, memory row by memory row, calling
// `rowDone(row, height)` after each (rows done before an exception stay keyed).
void KeyImage(cAlphaDibSection& image, const KeyingParameters& parameters,
              const std::function<void(int32_t row, int32_t height)>& rowDone);

}  // namespace velkor
