// "Save to PNG" makes the PNG from the raster in memory instead of decoding
// the BMP it has just written. It must be byte for byte the PNG FreeImage
// makes of that BMP, and read back hold the raster's pixels: opaque pictures
// and pictures with alpha, a single pixel, odd widths, rows in order.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "convert/PngFiles.h"
#include "raster/cAlphaDibSection.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

std::vector<uint8_t> PixelsOf(const std::string& png) {
  std::string problem;
  const auto image = ReadPngFile(png, problem);
  EXPECT_TRUE(image) << problem;
  if (!image) return {};
  const uint8_t* bits = image->DIBSectionBitsPtr();
  return std::vector<uint8_t>(bits, bits + size_t{4} * image->Width() * image->Height());
}

struct Picture {
  int32_t width, height;
  bool opaque;
};

TEST(PngFromRaster, HoldsThePixelsOfThePngOfItsBmp) {
  const testing::ScratchDir dir;
  std::mt19937 random(7);
  for (const Picture p : {Picture{1, 1, true}, Picture{1, 1, false}, Picture{37, 5, true}, Picture{64, 33, false}}) {
    SCOPED_TRACE(std::to_string(p.width) + "x" + std::to_string(p.height) + (p.opaque ? " opaque" : " alpha"));
    cAlphaDibSection image;
    ASSERT_TRUE(image.Create(p.width, p.height));
    for (int64_t i = 0; i < int64_t{4} * p.width * p.height; ++i) {
      // Runs of transparent black between noise, as keyed icons have.
      const bool run = (i / 4 / 7) % 2 == 0;
      image.DIBSectionBitsPtr()[i] = static_cast<uint8_t>(p.opaque && i % 4 == 3 ? 255 : run ? 0 : random());
    }
    ASSERT_TRUE(image.SavePicture(dir / "picture.bmp"));
    ASSERT_EQ(ConvertBmpToPng(dir / "picture.bmp", dir / "from-bmp.png"), BmpToPng::Written);
    ASSERT_EQ(ConvertRasterToPng(image, dir / "from-raster.png"), BmpToPng::Written);
    EXPECT_EQ(testing::ReadFileBytes(dir / "from-raster.png"), testing::ReadFileBytes(dir / "from-bmp.png"));
    const uint8_t* bits = image.DIBSectionBitsPtr();
    EXPECT_EQ(PixelsOf(dir / "from-raster.png"), std::vector<uint8_t>(bits, bits + size_t{4} * p.width * p.height));
  }
}

}  // namespace
}  // namespace velkor
