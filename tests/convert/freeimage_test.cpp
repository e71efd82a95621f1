#include <gtest/gtest.h>

#include <FreeImage.h>

#include "common/VbError.h"
#include "convert/MFreeImage.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

namespace fi = MFreeImage;

int LoadError(const std::string& name, int32_t& format) {
  try {
    FIBITMAP* bitmap = fi::LoadImageFile(name, 0, format);
    FreeImage_Unload(bitmap);
  } catch (const VbError& e) {
    return e.Number();
  }
  return 0;
}

TEST(MFreeImage, LoadFailuresAllRaise481AndKeepTheDetectedFormat) {
  testing::ScratchDir dir;
  testing::WriteFileBytes(dir / "fake.png", {'n', 'o', 't', ' ', 'p', 'n', 'g'});
  struct Case {
    std::string name;
    int32_t format;
  };
  const Case cases[] = {
      {dir / "picture.qqq", -1},  // unknown extension: the file is never looked at
      {dir / "fake.png", 13},     // known format, content is not PNG
      {dir / "missing.png", 13},
  };
  for (const Case& c : cases) {
    int32_t format = 99;
    EXPECT_EQ(LoadError(c.name, format), kErrInvalidPicture) << c.name;
    EXPECT_EQ(format, c.format) << c.name;
  }
}

TEST(MFreeImage, OtherDepthsLoadButGiveAnEmptyPixelView) {
  testing::ScratchDir dir;
  for (int bpp : {8, 24}) {
    const std::string path = dir / ("d" + std::to_string(bpp) + ".bmp");
    ASSERT_TRUE(testing::WriteTestBmp(path, 3, 2, bpp, [](int x, int) { return x == 0 ? 0xFF0000u : 0x00FF00u; }));
    int32_t format = -1;
    FIBITMAP* bitmap = fi::LoadImageFile(path, 0, format);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(format, 0);
    EXPECT_TRUE(fi::GetPixelArray(bitmap).Empty()) << bpp;
    FreeImage_Unload(bitmap);
  }
  EXPECT_TRUE(fi::GetPixelArray(nullptr).Empty());
}

TEST(MFreeImage, PixelViewStartsAtTheBottomLeft) {
  testing::ScratchDir dir;
  const std::vector<uint32_t> topDown = {0xFF000001, 0xFF000002,   // top row: left, right
                                         0xFF000003, 0xFF000004};  // bottom row
  ASSERT_TRUE(testing::WriteTestBmpFromPixels(dir / "p.bmp", 2, 2, 32, topDown));
  int32_t format = -1;
  FIBITMAP* bitmap = fi::LoadImageFile(dir / "p.bmp", 0, format);
  const fi::PixelArray pixels = fi::GetPixelArray(bitmap);
  ASSERT_FALSE(pixels.Empty());
  EXPECT_EQ(pixels(0, 0), 0xFF000003u);  // bottom-left
  EXPECT_EQ(pixels(1, 1), 0xFF000002u);  // top-right
  EXPECT_EQ(pixels.Row(0)[0], 3);        // blue first in memory
  EXPECT_EQ(pixels.Row(0)[3], 0xFF);
  FreeImage_Unload(bitmap);
}

TEST(MFreeImage, SaveImageFileWritesOrKeepsTheOldFile) {
  testing::ScratchDir dir;
  FIBITMAP* bitmap = FreeImage_Allocate(4, 4, 32);
  EXPECT_TRUE(fi::SaveImageFile(fi::kFormatPng, bitmap, dir / "ok.png", 0));
  EXPECT_EQ(FreeImage_GetFileType((dir / "ok.png").c_str(), 0), FIF_PNG);
  EXPECT_FALSE(fi::SaveImageFile(fi::kFormatPng, bitmap, dir / "missing/x.png", 0));
  FreeImage_Unload(bitmap);
  EXPECT_FALSE(fi::SaveImageFile(fi::kFormatPng, nullptr, dir / "null.png", 0));
  EXPECT_FALSE(testing::PathExists(dir / "null.png"));
}

TEST(MFreeImage, FormatSupportsReading) {
  EXPECT_TRUE(fi::FormatSupportsReading(fi::kFormatPng));
  EXPECT_TRUE(fi::FormatSupportsReading(fi::kFormatBmp));
  EXPECT_FALSE(fi::FormatSupportsReading(fi::kFormatUnknown));
}

}  // namespace
}  // namespace velkor
