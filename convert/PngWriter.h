#pragma once
// PNG bytes made by the image codec straight from a raster in memory: "Save
// to PNG" has the picture already, so it is not read back from the BMP just
// written. Both keep rows bottom-up, so the raster's memory is handed over as
// it is.
#include <cstdint>
#include <vector>

#include "raster/cAlphaDibSection.h"

namespace velkor {

// The PNG bytes of `image` (32 bits, B, G, R, A), as FreeImage encodes the
// same pixels loaded from a 32-bit BMP. Empty when the image is empty or the
// codec fails.
std::vector<uint8_t> EncodePng(const cAlphaDibSection& image);

}  // namespace velkor
