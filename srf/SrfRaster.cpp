#include "srf/SrfRaster.h"

#include <algorithm>
#include <array>

#include "common/VbError.h"
#include "srf/SrfCodes.h"
#include "srf/SrfRecordIO.h"

namespace velkor {

namespace {

// Rows of the record that land inside the raster.
int32_t RowsInside(const cAlphaDibSection& raster, const SRFImage& image, int32_t top) {
  return std::clamp(raster.Height() - top, 0, static_cast<int32_t>(image.Height));
}

// A tall narrow record beside a wide short one would make the picture far
// larger than anything the file holds; such files are refused rather than
// allocated for. Real files fill nearly all of their picture.
constexpr int64_t kMaxPictureToRecordRatio = 4;

}  // namespace

SRFImage EncodeSRFImage(const cAlphaDibSection& raster, int32_t top, int16_t width, int16_t height) {
  SRFImage image = MakeSRFImage(width, height);
  // Every alpha's code once, rather than a rounding call per pixel.
  std::array<uint8_t, 256> codes;
  for (int alpha = 0; alpha < 256; ++alpha) codes[alpha] = AlphaToSRFCode(static_cast<uint8_t>(alpha));
  for (int32_t i = 0; i < height; ++i) {
    const uint8_t* row = raster.PictureRow(top + i);
    uint8_t* alpha = image.AlphaData.data() + static_cast<size_t>(i) * width;
    uint8_t* color = image.ColorData.data() + static_cast<size_t>(i) * width * 2;
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + 4 * x;  // B, G, R, A
      alpha[x] = codes[p[3]];
      const SRFColorBytes word = PackSRFColor(p[2], p[1], p[0]);
      color[2 * x] = word.low;
      color[2 * x + 1] = word.high;
    }
  }
  return image;
}

void CreateSRFRaster(cAlphaDibSection& raster, const std::vector<SRFImage>& images, const std::string& path) {
  int32_t width = 0, height = 0;
  int64_t recordPixels = 0;
  for (size_t i = 0; i < images.size(); ++i) {
    if (i < 2) width = std::max<int32_t>(width, images[i].Width);
    height += images[i].Height;
    recordPixels += int64_t{images[i].Width} * images[i].Height;
  }
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (int64_t{width} * height > kMaxPictureToRecordRatio * recordPixels) {
    RaiseSRFReadError(
        kErrSubscript, path,
        "its records of different widths would make a " + size + " picture, far larger than the pixels they hold");
  }
  if (!raster.Create(width, height)) RaiseSRFReadError(kErrOverflow, path, "a " + size + " picture cannot be created");
}

void PaintSRFColors(cAlphaDibSection& raster, const SRFImage& image, int32_t top) {
  const int32_t rows = RowsInside(raster, image, top);
  const int32_t inside = std::min<int32_t>(raster.Width(), image.Width);
  for (int32_t i = 0; i < rows; ++i) {
    uint8_t* row = raster.PictureRow(top + i);
    const uint8_t* color = image.ColorData.data() + static_cast<size_t>(i) * image.Width * 2;
    for (int32_t x = 0; x < raster.Width(); ++x) {
      uint8_t* p = row + 4 * x;
      if (x < inside) {
        const SRFRgb c = UnpackSRFColor(color[2 * x], color[2 * x + 1]);
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
      } else {
        p[0] = p[1] = p[2] = 255;
      }
      p[3] = 0;
    }
  }
}

void PaintSRFAlpha(cAlphaDibSection& raster, const SRFImage& image, int32_t top, uint8_t alphaBeyond) {
  // The alpha of every valid code once, rather than a conversion per pixel.
  std::array<uint8_t, kMaxSRFAlphaCode + 1> alphas;
  for (int code = 0; code <= kMaxSRFAlphaCode; ++code) alphas[code] = SRFCodeToAlpha(static_cast<uint8_t>(code));
  const int32_t rows = RowsInside(raster, image, top);
  const int32_t inside = std::min<int32_t>(raster.Width(), image.Width);
  for (int32_t i = 0; i < rows; ++i) {
    uint8_t* row = raster.PictureRow(top + i);
    const uint8_t* alpha = image.AlphaData.data() + static_cast<size_t>(i) * image.Width;
    for (int32_t x = 0; x < raster.Width(); ++x) {
      const uint8_t code = x < inside ? alpha[x] : 0;
      // A code above 128 still raises the overflow error, as the conversion does.
      row[4 * x + 3] = x >= inside ? alphaBeyond : code <= kMaxSRFAlphaCode ? alphas[code] : SRFCodeToAlpha(code);
    }
  }
}

}  // namespace velkor
