#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor::sample {

// One colour, 8 bits per channel.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour the program turns transparent: everything that is not the vehicle.
inline constexpr Rgb kKeyColour{0, 255, 0};

// A plain 24-bit picture: rows top-down, R,G,B per pixel, no padding.
struct RgbImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;

  Rgb At(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
  void Set(int x, int y, Rgb c) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    rgb[i] = c.r;
    rgb[i + 1] = c.g;
    rgb[i + 2] = c.b;
  }
};

// A width x height picture filled with one colour.
RgbImage MakeImage(int width, int height, Rgb fill);

// Writes the picture as a 24-bit BMP through the image codec. On failure
// returns false and leaves a message naming the file in `error`.
bool SaveBmp24(const RgbImage& img, const std::string& path, std::string& error);

}  // namespace velkor::sample
