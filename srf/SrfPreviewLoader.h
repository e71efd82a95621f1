#pragma once
// The viewer's loader: a static SRF file into a raster, image 1 on top and
// image 2 below it, opaque white to the right of a narrower image. Raises
// the reader's errors (a VbError naming the file and the problem).
#include <string>

#include "raster/cAlphaDibSection.h"

namespace velkor {

void CreateFromGarminSRF(cAlphaDibSection& raster, const std::string& strSRFFile);

}  // namespace velkor
