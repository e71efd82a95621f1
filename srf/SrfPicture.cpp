#include "srf/SrfPicture.h"

#include "srf/SrfRaster.h"

namespace velkor {

void DecodeSRFPicture(cAlphaDibSection& raster, const std::vector<SRFImage>& images, const std::string& path,
                      const std::function<void(int group, bool alpha)>& step) {
  CreateSRFRaster(raster, images, path);
  std::vector<int32_t> top(images.size() + 1, 0);
  for (size_t i = 0; i < images.size(); ++i) top[i + 1] = top[i] + images[i].Height;
  for (const bool alpha : {false, true}) {
    for (size_t i = 0; i < images.size(); ++i) {
      if (i % 2 == 0 && step) step(static_cast<int>(i / 2), alpha);
      if (!alpha) {
        PaintSRFColors(raster, images[i], top[i]);
      } else {
        // Right of a narrower animation 3D strip the picture stays transparent.
        PaintSRFAlpha(raster, images[i], top[i], i == 2 ? 0 : 255);
      }
    }
  }
}

}  // namespace velkor
