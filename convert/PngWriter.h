#pragma once
// PNG files written straight from a raster with libpng, with settings chosen
// for these pictures: no row filter and zlib level 4. Keyed vehicle icons are
// mostly runs of transparent black with hard-edged colour between, which
// deflate finds without a filter; the filters FreeImage's writer lets libpng
// try on every row make them larger and cost half the time (measured in
// docs/performance.md).
#include <cstdint>
#include <vector>

#include "raster/cAlphaDibSection.h"

namespace velkor {

// The PNG bytes of `image`: 8 bits per channel, RGB when every alpha is 255
// (readers then give alpha 255, so nothing is lost) and RGBA otherwise. Empty
// when the image is empty or libpng fails.
std::vector<uint8_t> EncodePng(const cAlphaDibSection& image);

}  // namespace velkor
