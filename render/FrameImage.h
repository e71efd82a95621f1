#pragma once
// One rendered frame: a square picture, rows top-down, R,G,B bytes.
#include <cstdint>
#include <vector>

namespace velkor::render {

struct FrameImage {
  int size = 0;
  std::vector<uint8_t> rgb;
};

}  // namespace velkor::render
