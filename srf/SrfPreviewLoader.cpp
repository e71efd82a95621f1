#include "srf/SrfPreviewLoader.h"

#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"

namespace velkor {

void CreateFromGarminSRF(cAlphaDibSection& raster, const std::string& strSRFFile) {
  const std::vector<SRFImage> images = ParseSRFImages(ReadSRFBytes(strSRFFile), kSRFImageCount, strSRFFile);
  CreateSRFRaster(raster, images, strSRFFile);
  int32_t top = 0;
  for (const SRFImage& image : images) {
    PaintSRFColors(raster, image, top);
    PaintSRFAlpha(raster, image, top, 255);
    top += image.Height;
  }
}

}  // namespace velkor
