// Picture files through FreeImage: MFreeImage's loads and saves, the PNG made
// from a raster in memory, SRF thumbnails and animated GIFs.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "common/VbError.h"
#include "convert/AnimatedGif.h"
#include "convert/MFreeImage.h"
#include "convert/PngFiles.h"
#include "convert/SrfThumbnail.h"
#include "platform/FreeImageBitmap.h"
#include "support/Raised.h"
#include "support/SmallSrf.h"

namespace velkor {
namespace {

namespace fi = MFreeImage;
using testing::ScratchDir;

// Loads raise 481 and keep the format found from the name (an unknown one is
// never looked at); only 32-bit pictures give a pixel view, from the
// bottom-left, blue first; a save that fails writes nothing.
TEST(MFreeImage, LoadsSavesAndPixelViews) {
  ScratchDir dir;
  testing::WriteFileBytes(dir / "fake.png", {'n', 'o', 't'});
  for (const auto& [name, expected] :
       {std::pair{dir / "picture.qqq", -1}, {dir / "fake.png", 13}, {dir / "none.png", 13}}) {
    int32_t format = 99;
    const int number = testing::ErrorNumberOf([&, name = name] { fi::LoadImageFile(name, 0, format); });
    EXPECT_EQ(std::make_pair(number, format), std::make_pair(int32_t{kErrInvalidPicture}, expected)) << name;
  }
  for (int bpp : {8, 24, 32}) {
    ASSERT_TRUE(
        testing::WriteTestBmpFromPixels(dir / "p.bmp", 2, 2, bpp, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004}));
    int32_t format = -1;
    FIBITMAP* bitmap = fi::LoadImageFile(dir / "p.bmp", 0, format);
    const fi::PixelArray pixels = fi::GetPixelArray(bitmap);
    EXPECT_TRUE(format == 0 && pixels.Empty() == (bpp != 32) &&
                fi::SaveImageFile(fi::kFormatPng, bitmap, dir / "ok.png", 0) &&
                !fi::SaveImageFile(fi::kFormatPng, bitmap, dir / "missing/x.png", 0))
        << bpp;
    if (bpp == 32) {
      EXPECT_TRUE(pixels(0, 0) == 0xFF000003u && pixels(1, 1) == 0xFF000002u && pixels.Row(0)[0] == 3);
    }
    FreeImage_Unload(bitmap);
  }
  EXPECT_TRUE(fi::GetPixelArray(nullptr).Empty() && FreeImage_GetFileType((dir / "ok.png").c_str(), 0) == FIF_PNG);
  EXPECT_FALSE(fi::SaveImageFile(fi::kFormatPng, nullptr, dir / "null.png", 0) ||
               testing::PathExists(dir / "null.png"));
}

// "Save to PNG" encodes the raster in memory: byte for byte the PNG FreeImage
// makes of its BMP, and read back the raster's pixels (one pixel, odd widths,
// opaque and with alpha, runs of transparent black as keyed icons have).
TEST(PngFromRaster, IsThePngOfItsBmpAndReadsBackTheRaster) {
  const ScratchDir dir;
  std::mt19937 random(7);
  for (const auto& [width, height, opaque] : {std::tuple{1, 1, true}, {1, 1, false}, {37, 5, true}, {64, 33, false}}) {
    cAlphaDibSection image;
    ASSERT_TRUE(image.Create(width, height));
    uint8_t* bits = image.DIBSectionBitsPtr();
    const size_t size = size_t{4} * width * height;
    for (size_t i = 0; i < size; ++i)
      bits[i] = static_cast<uint8_t>(opaque && i % 4 == 3 ? 255 : (i / 28) % 2 ? random() : 0);
    ASSERT_TRUE(image.SavePicture(dir / "picture.bmp"));
    int32_t format = -1;
    const platform::FreeImageBitmap fromBmp(fi::LoadImageFile(dir / "picture.bmp", 0, format));
    ASSERT_TRUE(fi::SaveImageFile(fi::kFormatPng, fromBmp.get(), dir / "from-bmp.png", 0));
    ASSERT_EQ(ConvertRasterToPng(image, dir / "from-raster.png"), BmpToPng::Written);
    EXPECT_EQ(testing::ReadFileBytes(dir / "from-raster.png"), testing::ReadFileBytes(dir / "from-bmp.png")) << width;
    std::string problem;
    const auto back = ReadPngFile(dir / "from-raster.png", problem);
    ASSERT_TRUE(back) << problem;
    EXPECT_TRUE(std::equal(bits, bits + size, back->DIBSectionBitsPtr())) << width;
  }
}

// The thumbnail is heading 0 doubled, with its alpha; the GIF of either kind
// has 36 frames looping for ever, leaves no temporary file, and keeps exact
// the colours of a frame with few: the map's kerb (128, 128, 124) shows
// through heading 0's transparent pixel.
TEST(DesktopPictures, ThumbnailAndAnimatedGif) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(WriteSRFThumbnail(testing::WriteSmallSrf(dir / "car.srf"), dir / "t.png", 5, error)) << error;
  FIBITMAP* png = FreeImage_Load(FIF_PNG, (dir / "t.png").c_str());
  ASSERT_NE(png, nullptr);
  RGBQUAD opaque, clear;
  FreeImage_GetPixelColor(png, 0, 3, &opaque);  // top-left: heading 0 is black, opaque
  FreeImage_GetPixelColor(png, 3, 0, &clear);   // bottom-right: the transparent pixel
  EXPECT_TRUE(FreeImage_GetWidth(png) == 4 && FreeImage_GetHeight(png) == 4 && opaque.rgbReserved == 255 &&
              opaque.rgbRed == 0 && clear.rgbReserved == 0);
  FreeImage_Unload(png);
  std::filesystem::remove(dir / "t.png");
  for (const bool animated : {false, true}) {
    ASSERT_TRUE(WriteSRFAsGif(testing::WriteSmallSrf(dir / "car.srf", animated), dir / "car.gif", error)) << error;
    FIMULTIBITMAP* gif = FreeImage_OpenMultiBitmap(FIF_GIF, (dir / "car.gif").c_str(), FALSE, TRUE, FALSE, 0);
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(FreeImage_GetPageCount(gif), 36);
    FIBITMAP* first = FreeImage_LockPage(gif, 0);
    FITAG *loop = nullptr, *time = nullptr;
    ASSERT_TRUE(FreeImage_GetMetadata(FIMD_ANIMATION, first, "Loop", &loop) &&
                FreeImage_GetMetadata(FIMD_ANIMATION, first, "FrameTime", &time));
    const auto tag = [](FITAG* t) { return *static_cast<const uint32_t*>(FreeImage_GetTagValue(t)); };
    EXPECT_EQ(std::make_tuple(tag(loop), tag(time), FreeImage_GetWidth(first)),
              std::make_tuple(0u, uint32_t{kGifFrameTimeMs}, 2u));
    const platform::FreeImageBitmap rgb(FreeImage_ConvertTo24Bits(first));
    RGBQUAD kerb;
    ASSERT_TRUE(FreeImage_GetPixelColor(rgb.get(), 1, 0, &kerb));  // (1, 1) from the top
    EXPECT_EQ(std::make_tuple(kerb.rgbRed, kerb.rgbGreen, kerb.rgbBlue), std::make_tuple(128, 128, 124));
    FreeImage_UnlockPage(gif, first, FALSE);
    FreeImage_CloseMultiBitmap(gif, 0);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
}  // namespace velkor
