#pragma once
// The vehicle as it turns: the 36 frames of an SRF file's 3D set (its first
// record), for pictures made outside the device (thumbnails, GIFs).
#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

inline constexpr int kHeadingCount = 36;  // one every 10 degrees

// One heading: R, G, B, A per pixel, rows top-down, colours premultiplied by
// alpha as the SRF stores them (255 is opaque).
struct HeadingFrame {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

// Heading 0 first. Static files give 80 x 80 frames, animated ones 90 x 90
// (their two spare columns are left out). Raises a VbError naming the file
// when it is too large (checked before reading), not an SRF, or cut short.
std::vector<HeadingFrame> LoadSRFHeadings(const std::string& path);

}  // namespace velkor
