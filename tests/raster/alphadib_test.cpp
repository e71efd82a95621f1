#include "raster/cAlphaDibSection.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/VbError.h"
#include "platform/Gdi.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(AlphaRaster, OnePixelFileIs62BytesWithTheZeroColourEntry) {
  ScratchDir dir;
  cAlphaDibSection r;
  ASSERT_TRUE(r.Create(1, 1));
  const uint8_t pixel[4] = {10, 20, 30, 40};
  std::memcpy(r.DIBSectionBitsPtr(), pixel, 4);
  ASSERT_TRUE(r.SavePicture(dir / "one.bmp"));
  const auto b = ReadFileBytes(dir / "one.bmp");
  const std::vector<uint8_t> expected = {
      'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 58, 0, 0, 0,                    // file header
      40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0,       // size, w, h, planes, bpp, BI_RGB
      4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,         // image size, resolutions, colours
      0, 0, 0, 0,                                                        // the zero colour-table entry
      10, 20, 30, 40};
  EXPECT_EQ(b, expected);
}

TEST(AlphaRaster, SavedFileStoresTheBottomRowFirst) {
  ScratchDir dir;
  cAlphaDibSection r;
  ASSERT_TRUE(r.Create(2, 2));
  gdi::SetPixel(r.hDC(), 0, 0, gdi::RGB(1, 1, 1));  // top row, picture coordinates
  gdi::SetPixel(r.hDC(), 1, 0, gdi::RGB(2, 2, 2));
  gdi::SetPixel(r.hDC(), 0, 1, gdi::RGB(3, 3, 3));  // bottom row
  gdi::SetPixel(r.hDC(), 1, 1, gdi::RGB(4, 4, 4));
  ASSERT_TRUE(r.SavePicture(dir / "two.bmp"));
  const auto b = ReadFileBytes(dir / "two.bmp");
  ASSERT_EQ(b.size(), 74u);
  EXPECT_EQ(U32(b, 2), 74u);
  EXPECT_EQ(U32(b, 34), 16u);
  EXPECT_EQ(U32(b, 58), 0x00030303u);
  EXPECT_EQ(U32(b, 62), 0x00040404u);
  EXPECT_EQ(U32(b, 66), 0x00010101u);
  EXPECT_EQ(U32(b, 70), 0x00020202u);
}

TEST(AlphaRaster, SavingIntoAMissingFolderRaises17AndCreatesNothing) {
  ScratchDir dir;
  cAlphaDibSection r;
  ASSERT_TRUE(r.Create(2, 2));
  try {
    r.SavePicture(dir / "missing/x.bmp");
    FAIL() << "no error raised";
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), 17);
    EXPECT_EQ(e.Source(), "raster_tests.cDIBSection");
    EXPECT_EQ(e.Description(), "No such file or directory");
  }
  EXPECT_FALSE(testing::PathExists(dir / "missing"));
}

TEST(AlphaRaster, SavingOverAFileReplacesItWhole) {
  ScratchDir dir;
  testing::WriteFileBytes(dir / "x.bmp", std::vector<uint8_t>(500, 9));
  cAlphaDibSection r;
  ASSERT_TRUE(r.Create(1, 1));
  ASSERT_TRUE(r.SavePicture(dir / "x.bmp"));
  EXPECT_EQ(ReadFileBytes(dir / "x.bmp").size(), 62u);
}

TEST(AlphaRaster, RefusedCreateLeavesItEmptyButKeepsTheAskedSize) {
  cAlphaDibSection r;
  ASSERT_TRUE(r.Create(3, 3));
  gdi::testing::FailNextDibSections(1);
  EXPECT_FALSE(r.Create(640, 480));
  EXPECT_EQ(r.hDC(), nullptr);
  EXPECT_EQ(r.hDIB(), nullptr);
  EXPECT_EQ(r.DIBSectionBitsPtr(), nullptr);
  EXPECT_EQ(r.Width(), 640);
  EXPECT_EQ(r.Height(), 480);
  r.ClearUp();
  r.ClearUp();  // harmless twice
  EXPECT_EQ(r.Width(), 640);
}

TEST(AlphaRaster, CreateReleasesWhatItHeldAndKeepsDrawDib) {
  const int before = gdi::LiveObjectCount();
  {
    cAlphaDibSection r;
    r.UseDrawDib(true);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(r.Create(8 + i, 8));
    EXPECT_TRUE(r.UseDrawDib());
    EXPECT_NE(r.hDC(), nullptr);
    EXPECT_EQ(r.BytesPerScanLine(), 48);
    r.UseDrawDib(false);
    EXPECT_FALSE(r.UseDrawDib());
  }
  EXPECT_EQ(gdi::LiveObjectCount(), before);
}

TEST(AlphaRaster, OversizedRasterIsRefusedNotRaised) {
  cAlphaDibSection r;
  EXPECT_FALSE(r.Create(40000, 20000));  // 3.2e9 bytes do not fit 32 bits signed
  EXPECT_EQ(r.hDC(), nullptr);
  EXPECT_TRUE(r.Empty());
}

class Painting : public ::testing::Test {
 protected:
  cAlphaDibSection src, dst;
  void SetUp() override {
    ASSERT_TRUE(src.Create(2, 2));
    ASSERT_TRUE(dst.Create(3, 3));
    for (int i = 0; i < 4; ++i) {
      const uint32_t v = 0x80000040u + i;  // premultiplied: B = 64 + i, alpha 128
      std::memcpy(src.DIBSectionBitsPtr() + 4 * i, &v, 4);
    }
    for (int i = 0; i < 9; ++i) {
      const uint32_t v = 0xFF0000C8u;
      std::memcpy(dst.DIBSectionBitsPtr() + 4 * i, &v, 4);
    }
  }
  uint32_t Dst(int x, int y) const {  // picture coordinates
    uint32_t v;
    std::memcpy(&v, dst.DIBSectionBitsPtr() + 4 * ((2 - y) * 3 + x), 4);
    return v;
  }
};

TEST_F(Painting, MinusOneMeansTheWholeRaster) {
  src.PaintPicture(dst.hDC(), 1, 1, -1, -1, 0, 0, gdi::SRCCOPY);
  EXPECT_EQ(Dst(0, 0), 0xFF0000C8u);
  EXPECT_EQ(Dst(1, 1), 0x80000042u);  // picture top-left of src = memory row 1
  EXPECT_EQ(Dst(2, 2), 0x80000041u);
}

TEST_F(Painting, AlphaPaintBlendsAndConstantZeroChangesNothing) {
  src.AlphaPaintPicture(dst.hDC(), 0, 0, -1, -1, 0, 0, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Dst(x, y), 0xFF0000C8u);
  src.AlphaPaintPicture(dst.hDC(), 0, 0, -1, -1, 0, 0, 255);
  // 64 + 200 * 127/255 = 163.6 -> 164
  EXPECT_EQ(Dst(0, 1) & 0xFF, 164u);
  EXPECT_EQ(Dst(2, 2), 0xFF0000C8u);
  src.AlphaPaintPicture(dst.hDC(), 0, 0, 5, 5, 0, 0, 255);  // source block too big: nothing, no error
}

TEST_F(Painting, LoadPictureBltAndDrawDibPath) {
  cAlphaDibSection copy;
  ASSERT_TRUE(copy.Create(2, 2));
  copy.LoadPictureBlt(dst.hDC(), 1, 1, -1, -1, gdi::SRCCOPY);
  uint32_t v;
  std::memcpy(&v, copy.DIBSectionBitsPtr(), 4);
  EXPECT_EQ(v, 0xFF0000C8u);
  src.UseDrawDib(true);
  src.PaintPicture(dst.hDC(), 0, 0, -1, -1, 0, 0, gdi::SRCCOPY);
  EXPECT_EQ(Dst(0, 0), 0x80000042u);
}

TEST(AlphaRaster, RandomiseBitsIsPremultipliedNoise) {
  cAlphaDibSection r;
  ASSERT_TRUE(r.Create(64, 64));
  for (bool gray : {true, false}) {
    r.RandomiseBits(gray);
    int distinct = 0;
    const uint8_t* p = r.DIBSectionBitsPtr();
    for (int i = 0; i < 64 * 64; ++i, p += 4) {
      ASSERT_LE(p[0], p[3]);
      ASSERT_LE(p[1], p[3]);
      ASSERT_LE(p[2], p[3]);
      if (gray) {
        ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]);
      }
      distinct += p[3] != r.DIBSectionBitsPtr()[3];
    }
    EXPECT_GT(distinct, 1000);
  }
}

TEST(AlphaRaster, CreateFromHBitmapCopiesThePicture) {
  cAlphaDibSection src;
  ASSERT_TRUE(src.Create(3, 2));
  gdi::SetPixel(src.hDC(), 2, 0, gdi::RGB(9, 8, 7));
  cAlphaDibSection copy;
  // The raster's own bitmap is selected into its context; a second context
  // cannot take it, so copy through a picture of a plain bitmap instead.
  gdi::HBITMAP bitmap = gdi::CreateCompatibleBitmap(nullptr, 3, 2);
  gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
  gdi::HGDIOBJ old = gdi::SelectObject(dc, bitmap);
  gdi::BitBlt(dc, 0, 0, 3, 2, src.hDC(), 0, 0, gdi::SRCCOPY);
  gdi::SelectObject(dc, old);
  gdi::DeleteDC(dc);
  platform::StdPicture picture(bitmap);
  copy.CreateFromPicture(picture);
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_EQ(copy.Height(), 2);
  EXPECT_EQ(gdi::GetPixel(copy.hDC(), 2, 0), gdi::RGB(9, 8, 7));
}

}  // namespace
}  // namespace velkor
