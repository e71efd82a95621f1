// Thumbnails and animated GIFs of SRF files, read back through FreeImage.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "convert/AnimatedGif.h"
#include "convert/SrfThumbnail.h"
#include "support/SmallSrf.h"

namespace velkor {
namespace {

using testing::ScratchDir;
namespace fs = std::filesystem;

size_t EntriesIn(const std::string& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(SrfThumbnail, IsHeadingZeroWithItsAlpha) {
  ScratchDir dir;
  const std::string srf = testing::WriteSmallSrf(dir / "car.srf");
  std::string error;
  ASSERT_TRUE(WriteSRFThumbnail(srf, dir / "t.png", 5, error)) << error;
  FIBITMAP* png = FreeImage_Load(FIF_PNG, (dir / "t.png").c_str());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(png), 4u);  // 2-pixel frames doubled
  EXPECT_EQ(FreeImage_GetHeight(png), 4u);
  RGBQUAD opaque, clear;
  FreeImage_GetPixelColor(png, 0, 3, &opaque);  // top-left: heading 0 is black, opaque
  FreeImage_GetPixelColor(png, 3, 0, &clear);   // bottom-right: the transparent pixel
  EXPECT_EQ(opaque.rgbReserved, 255);
  EXPECT_EQ(opaque.rgbRed, 0);
  EXPECT_EQ(clear.rgbReserved, 0);
  FreeImage_Unload(png);
}

TEST(AnimatedGif, Has36LoopingFramesOverAnOpaqueMap) {
  ScratchDir dir;
  for (const bool animated : {false, true}) {
    const std::string srf = testing::WriteSmallSrf(dir / "car.srf", animated);
    std::string error;
    ASSERT_TRUE(WriteSRFAsGif(srf, dir / "car.gif", error)) << error;
    FIMULTIBITMAP* gif = FreeImage_OpenMultiBitmap(FIF_GIF, (dir / "car.gif").c_str(), FALSE, TRUE, FALSE, 0);
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(FreeImage_GetPageCount(gif), 36);
    FIBITMAP* first = FreeImage_LockPage(gif, 0);
    ASSERT_NE(first, nullptr);
    FITAG* loop = nullptr;
    FITAG* time = nullptr;
    ASSERT_TRUE(FreeImage_GetMetadata(FIMD_ANIMATION, first, "Loop", &loop));
    ASSERT_TRUE(FreeImage_GetMetadata(FIMD_ANIMATION, first, "FrameTime", &time));
    EXPECT_EQ(*static_cast<const uint32_t*>(FreeImage_GetTagValue(loop)), 0u);  // for ever
    EXPECT_EQ(*static_cast<const uint32_t*>(FreeImage_GetTagValue(time)), uint32_t{kGifFrameTimeMs});
    EXPECT_EQ(FreeImage_GetWidth(first), 2u);
    FreeImage_UnlockPage(gif, first, FALSE);
    FreeImage_CloseMultiBitmap(gif, 0);
  }
  EXPECT_EQ(EntriesIn(dir.path()), 2u);  // no temporary or spool file left
}

}  // namespace
}  // namespace velkor
