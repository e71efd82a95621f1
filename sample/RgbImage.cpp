#include "sample/RgbImage.h"
#include "platform/FreeImageBitmap.h"

#include <FreeImage.h>

namespace velkor::sample {

RgbImage MakeImage(int width, int height, Rgb fill) {
  RgbImage img;
  img.width = width;
  img.height = height;
  img.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < img.rgb.size(); i += 3) {
    img.rgb[i] = fill.r;
    img.rgb[i + 1] = fill.g;
    img.rgb[i + 2] = fill.b;
  }
  return img;
}

namespace {

bool IsWellFormed(const RgbImage& img) {
  return img.width > 0 && img.height > 0 &&
         img.rgb.size() == static_cast<size_t>(img.width) * img.height * 3;
}

// FreeImage keeps rows bottom-up and pixels in its own byte order.
void CopyPixels(const RgbImage& img, FIBITMAP* bmp) {
  for (int y = 0; y < img.height; ++y) {
    BYTE* line = FreeImage_GetScanLine(bmp, img.height - 1 - y);
    const uint8_t* src = img.rgb.data() + static_cast<size_t>(y) * img.width * 3;
    for (int x = 0; x < img.width; ++x, line += 3, src += 3) {
      line[FI_RGBA_RED] = src[0];
      line[FI_RGBA_GREEN] = src[1];
      line[FI_RGBA_BLUE] = src[2];
    }
  }
}

}  // namespace

bool SaveBmp24(const RgbImage& img, const std::string& path, std::string& error) {
  if (!IsWellFormed(img)) {
    error = "cannot write " + path + ": the picture is empty or malformed";
    return false;
  }
  const platform::FreeImageBitmap bmp(FreeImage_Allocate(img.width, img.height, 24));
  if (!bmp) {
    error = "cannot write " + path + ": out of memory";
    return false;
  }
  CopyPixels(img, bmp.get());
  const bool saved = FreeImage_Save(FIF_BMP, bmp.get(), path.c_str(), BMP_DEFAULT) != FALSE;
  if (!saved) error = "cannot write " + path;
  return saved;
}

}  // namespace velkor::sample
