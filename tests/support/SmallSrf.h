#pragma once
// Tiny but complete SRF files for the desktop features: 36 headings of a few
// pixels each, so that every pixel a test checks is known exactly.
#include <string>
#include <vector>

#include "srf/SrfTestBytes.h"
#include "support/TestFiles.h"

namespace velkor::testing {

// Heading i is opaque grey (8 * i) except for a transparent pixel (1, 1).
inline Bgra HeadingPixel(int x, int y, int frameWidth) {
  const auto v = static_cast<uint8_t>(8 * (x / frameWidth));
  return (x % frameWidth == 1 && y == 1) ? Bgra{0, 0, 0, 0} : Bgra{v, v, v, 255};
}

// A static (2 records) or animated (4 records, 3D strips two columns wider
// than the 36 frames) file with `side` x `side` headings.
inline std::vector<uint8_t> SmallSrfBytes(bool animated, int side = 2) {
  ByteBuilder out;
  AppendHeader(out, animated ? 4 : 2, animated ? "1.00" : "2.20");
  const int width = 36 * side + (animated ? 2 : 0);
  for (int record = 0; record < (animated ? 4 : 2); ++record) {
    AppendRecord(out, width, side, [side](int x, int y) { return HeadingPixel(x, y, side); });
  }
  AppendTrailerAndChecksum(out, animated ? 160 : 56, animated ? 0 : 0xFF);
  return out.bytes;
}

inline std::string WriteSmallSrf(const std::string& path, bool animated = false) {
  WriteFileBytes(path, SmallSrfBytes(animated));
  return path;
}

}  // namespace velkor::testing
