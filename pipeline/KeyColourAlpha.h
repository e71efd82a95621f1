#pragma once
// The alpha of one pixel from its distance to the key colour, channel by
// channel (each 0..255), and the tolerance T (0..255).
#include <cstdint>

namespace velkor {

// Binary rule (frames not anti-aliased): 0 when every distance is within T,
// otherwise 255.
// Graded rule: 255 when any distance exceeds T; otherwise 0 for T = 0, and
// round(round(mean distance) / T * 255) for T > 0, ties to even.
uint8_t KeyAlpha(int distanceB, int distanceG, int distanceR, int tolerance, bool binaryRule);

}  // namespace velkor
