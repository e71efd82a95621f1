#pragma once
// The largest picture the program reads from a file (a PNG, a BMP frame or
// strip): 64 Mi pixels, e.g. 8192 x 8192, 256 MiB as a raster. The largest
// picture the program makes itself, the composite strip of an animated icon,
// is 16210 x 1700 (27.6 M pixels), and an SRF holds about one million. A
// file declaring more is refused from its header, before anything is decoded.
#include <cstdint>
#include <string>

namespace velkor::platform {

inline constexpr uint64_t kMaxPicturePixels = uint64_t{64} << 20;

// "" when a picture of width x height pixels may be read; otherwise why not.
inline std::string PictureSizeProblem(uint64_t width, uint64_t height) {
  if (width * height <= kMaxPicturePixels) return {};  // each below 2^32: the product fits
  return "its header claims " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
         std::to_string(kMaxPicturePixels) + " (8192 x 8192) a picture may have";
}

}  // namespace velkor::platform
