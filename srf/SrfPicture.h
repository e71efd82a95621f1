#pragma once
// The one reader of SRF pictures: the records of a static (two) or animated
// (four) file into one raster, each record below the one before it. Right of
// a record narrower than the picture the colour is white and the alpha
// opaque, except beside the animation group's 3D record, which is left
// transparent.
#include <functional>
#include <string>
#include <vector>

#include "raster/cAlphaDibSection.h"
#include "srf/modSRFFileFormat.h"

namespace velkor {

// Records are painted in groups of two (3D over 2D): every group's colours,
// then every group's alpha; `step(group, alpha)` is told before each.
// `raster` is made again at the picture's size; raises a VbError naming
// `path` when the records make no picture.
void DecodeSRFPicture(cAlphaDibSection& raster, const std::vector<SRFImage>& images, const std::string& path,
                      const std::function<void(int group, bool alpha)>& step = {});

}  // namespace velkor
