// cAlphaDibSection::CreateFromGarminSRF: a static SRF into this raster, for
// the viewer. Image 1 on top, image 2 below it, opaque white to the right of a
// narrower image.
#include "raster/cAlphaDibSection.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"

namespace velkor {

void cAlphaDibSection::CreateFromGarminSRF(const std::string& strSRFFile) {
  const std::vector<SRFImage> images = ParseSRFImages(ReadSRFBytes(strSRFFile), kSRFImageCount, strSRFFile);
  CreateSRFRaster(*this, images, strSRFFile);
  int32_t top = 0;
  for (const SRFImage& image : images) {
    PaintSRFColors(*this, image, top);
    PaintSRFAlpha(*this, image, top, 255);
    top += image.Height;
  }
}

}  // namespace velkor
