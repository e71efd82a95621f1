#pragma once
// The program's icon for the desktop, drawn by our own code at any size: a
// white sat-nav arrow on a rounded blue square with a compass ring.
#include <cstdint>
#include <string>
#include <vector>

namespace velkor::sample {

// Rows top-down, R, G, B, A per pixel, not premultiplied.
struct RgbaImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

RgbaImage RenderAppIcon(int size);

// Writes the icon as a 32-bit PNG; false with a message naming the file.
bool WriteAppIcon(const std::string& path, int size, std::string& error);

}  // namespace velkor::sample
