// The two bitmaps: the alpha raster (saving, creating, painting) and the
// frame bitmap (reading BMP files of every depth and shape, and refusing the
// rest).
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "common/VbError.h"
#include "platform/Gdi.h"
#include "raster/cAlphaDibSection.h"
#include "raster/cDib.h"
#include "support/Raised.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

uint32_t Word(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

TEST(AlphaRaster, SavedFilesHoldTheZeroColourEntryAndTheBottomRowFirst) {
  ScratchDir dir;
  cAlphaDibSection one, two;
  ASSERT_TRUE(one.Create(1, 1));
  std::memcpy(one.DIBSectionBitsPtr(), "\x0A\x14\x1E\x28", 4);
  WriteFileBytes(dir / "one.bmp", std::vector<uint8_t>(500, 9));  // replaced whole
  ASSERT_TRUE(one.SavePicture(dir / "one.bmp"));
  EXPECT_EQ(ReadFileBytes(dir / "one.bmp"),
            (std::vector<uint8_t>{'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 58, 0, 0, 0,                     // file header
                                  40,  0,   0,  0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 32, 0, 0, 0, 0, 0,  // BI_RGB
                                  4,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,
                                  0,   0,   0,  0,  // the zero colour-table entry
                                  10,  20,  30, 40}));
  ASSERT_TRUE(two.Create(2, 2));
  for (int i = 0; i < 4; ++i) gdi::SetPixel(two.hDC(), i % 2, i / 2, gdi::RGB(i + 1, i + 1, i + 1));  // picture order
  ASSERT_TRUE(two.SavePicture(dir / "two.bmp"));
  const auto b = ReadFileBytes(dir / "two.bmp");
  ASSERT_EQ(b.size(), 74u);
  // The file and image sizes, then the pixels bottom row first.
  EXPECT_EQ((std::vector{Word(&b[2]), Word(&b[34]), Word(&b[58]), Word(&b[62]), Word(&b[66]), Word(&b[70])}),
            (std::vector{74u, 16u, 0x030303u, 0x040404u, 0x010101u, 0x020202u}));
  try {
    two.SavePicture(dir / "missing/x.bmp");
    FAIL() << "no error raised";
  } catch (const VbError& e) {
    EXPECT_EQ(std::tuple(e.Number(), e.Source(), e.Description()),
              std::tuple(17, std::string("raster_tests.cDIBSection"), std::string("No such file or directory")));
  }
  EXPECT_FALSE(testing::PathExists(dir / "missing"));
}

TEST(AlphaRaster, CreateReleasesWhatItHeldAndIsRefusedQuietly) {
  const int before = gdi::LiveObjectCount();
  {
    cAlphaDibSection r;
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(r.Create(8 + i, 8));
    EXPECT_EQ(r.BytesPerScanLine(), 48);
    gdi::testing::FailNextDibSections(1);
    EXPECT_FALSE(r.Create(640, 480));  // empty, but the asked size is kept
    EXPECT_EQ(std::tuple(r.hDC(), r.hDIB(), r.Empty(), r.Width(), r.Height()),
              std::tuple(gdi::HDC{}, gdi::HBITMAP{}, true, 640, 480));
    r.ClearUp();
    r.ClearUp();                           // harmless twice
    EXPECT_FALSE(r.Create(40000, 20000));  // 3.2e9 bytes do not fit 32 bits signed: refused, not raised
    EXPECT_TRUE(r.Empty());
  }
  EXPECT_EQ(gdi::LiveObjectCount(), before);
}

TEST(AlphaRaster, PaintingCopyingAndBlending) {
  cAlphaDibSection src, dst, copy;
  ASSERT_TRUE(src.Create(2, 2) && dst.Create(3, 3) && copy.Create(2, 2));
  for (int i = 0; i < 4; ++i)
    std::memcpy(src.DIBSectionBitsPtr() + 4 * i, "\x40\x00\x00\x80", 4), src.DIBSectionBitsPtr()[4 * i] += i;
  const auto reset = [&] {
    for (int i = 0; i < 9; ++i) std::memcpy(dst.DIBSectionBitsPtr() + 4 * i, "\xC8\x00\x00\xFF", 4);
  };
  const auto at = [&](int x, int y) { return Word(dst.PictureRow(y) + 4 * x); };
  reset();
  src.PaintPicture(dst.hDC(), 1, 1, -1, -1, 0, 0, gdi::SRCCOPY);  // -1: the whole raster
  // The picture's top-left is memory row 1.
  EXPECT_EQ((std::vector{at(0, 0), at(1, 1), at(2, 2)}), (std::vector{0xFF0000C8u, 0x80000042u, 0x80000041u}));
  reset();
  src.AlphaPaintPicture(dst.hDC(), 0, 0, -1, -1, 0, 0, 0);  // constant 0 changes nothing
  EXPECT_EQ(at(0, 1), 0xFF0000C8u);
  src.AlphaPaintPicture(dst.hDC(), 0, 0, -1, -1, 0, 0, 255);
  EXPECT_EQ(std::pair(at(0, 1) & 0xFF, at(2, 2)), std::pair(164u, 0xFF0000C8u));  // 64 + 200 * 127 / 255 = 163.6
  src.AlphaPaintPicture(dst.hDC(), 0, 0, 5, 5, 0, 0, 255);  // a source block too big: nothing, no error
  copy.LoadPictureBlt(dst.hDC(), 1, 1, -1, -1, gdi::SRCCOPY);
  EXPECT_EQ(Word(copy.DIBSectionBitsPtr()), 0xFF0000C8u);
}

// A 5 x 3 picture with a different colour in each corner, at every depth.
TEST(FrameBitmap, LoadsEveryDepthWithItsGeometryAndColours) {
  ScratchDir dir;
  const struct {
    int bpp, stride;
    uint32_t topRight;              // after a blit into the alpha raster, 0xAARRGGBB
  } cases[] = {{1, 4, 0x00FFFFFF},  // black and white only
               {4, 4, 0x0000FF00},   {8, 8, 0x0000FF00},  {16, 12, 0x0000FF00},
               {24, 16, 0x0000FF00}, {32, 20, 0x7F00FF00}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bpp);
    const std::string path = dir / ("d" + std::to_string(c.bpp) + ".bmp");
    ASSERT_TRUE(testing::WriteTestBmp(path, 5, 3, c.bpp, [&](int x, int y) {
      const uint32_t p = x == 0 && y == 0 ? 0xFF0000 : x == 4 && y == 0 ? 0x00FF00 : x == 0 && y == 2 ? 0x0000FF : 0;
      return c.bpp == 1 ? (p ? 0xFFFFFFu : 0u) : c.bpp == 32 ? p | 0x7F000000u : p;
    }));
    cDib dib;
    ASSERT_EQ(dib.CreateFromBitmapFile(path), c.bpp);
    EXPECT_EQ(std::vector<int32_t>({dib.Width(), dib.Height(), dib.bpp(), dib.BytesPerScanLine(), dib.Size()}),
              std::vector<int32_t>({5, 3, c.bpp, c.stride, 3 * c.stride}));
    cAlphaDibSection strip;
    ASSERT_TRUE(strip.Create(5, 3));
    ASSERT_TRUE(gdi::BitBlt(strip.hDC(), 0, 0, 5, 3, dib.hDIBDC(), 0, 0, gdi::SRCCOPY));
    const uint32_t red = c.bpp == 1 ? 0xFFFFFF : 0xFF0000, blue = c.bpp == 1 ? 0xFFFFFF : 0x0000FF;
    EXPECT_EQ((std::vector{Word(strip.PictureRow(0) + 16), Word(strip.PictureRow(0)) & 0xFFFFFF,
                           Word(strip.PictureRow(2)) & 0xFFFFFF}),
              (std::vector{c.topRight, red, blue}));
  }
}

TEST(FrameBitmap, RunLengthAndTopDownFiles) {
  ScratchDir dir;
  // 8-bit run-length encoded, 6 x 2: the bottom row a run of index 0, the top
  // row a run of index 1 (red), then end of line and end of bitmap.
  std::vector<uint8_t> rle = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 6,
                              0,   0,   0,  2, 0, 0, 0, 1, 0, 8, 0,  1, 0, 0, 0,  8, 0, 0, 0};
  rle.resize(46, 0);
  rle.insert(rle.end(), {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 6, 0, 0, 0, 6, 1, 0, 1});
  WriteFileBytes(dir / "rle.bmp", rle);
  // 24-bit with a negative height, 1 x 2: top blue, bottom white.
  std::vector<uint8_t> topDown = {'B', 'M', 62, 0,    0,    0,    0,    0, 0, 0,  54, 0, 0, 0, 40, 0, 0, 0, 1,
                                  0,   0,   0,  0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0,  0, 0, 0, 0,  8, 0, 0, 0};
  topDown.resize(54, 0);
  topDown.insert(topDown.end(), {255, 0, 0, 0, 255, 255, 255, 0});
  WriteFileBytes(dir / "topdown.bmp", topDown);
  cDib dib;
  const auto pixels = [&](int32_t x) {
    return std::vector{gdi::GetPixel(dib.hDIBDC(), x, 0), gdi::GetPixel(dib.hDIBDC(), x, 1)};
  };
  ASSERT_EQ(dib.CreateFromBitmapFile(dir / "rle.bmp"), 8);
  EXPECT_EQ(pixels(5), (std::vector{gdi::RGB(255, 0, 0), gdi::RGB(0, 0, 0)}));
  ASSERT_EQ(dib.CreateFromBitmapFile(dir / "topdown.bmp"), 24);
  EXPECT_EQ(dib.Height(), 2);
  EXPECT_EQ(pixels(0), (std::vector{gdi::RGB(0, 0, 255), gdi::RGB(255, 255, 255)}));
}

TEST(FrameBitmap, FailuresEmptyMissingAndNotABitmap) {
  ScratchDir dir;
  ASSERT_TRUE(testing::WriteTestBmp(dir / "ok.bmp", 4, 4, 24, [](int, int) { return 0xABCDEFu; }));
  WriteFileBytes(dir / "empty.bmp", {});
  WriteFileBytes(dir / "text.bmp", {'h', 'e', 'l', 'l', 'o'});
  cDib dib;
  ASSERT_EQ(dib.CreateFromBitmapFile(dir / "ok.bmp"), 24);
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "empty.bmp"), 0);
  EXPECT_EQ(dib.Width(), 4) << "an empty file leaves the loaded picture in place";
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "text.bmp"), 0);
  EXPECT_EQ(std::pair(dib.Width(), dib.hDIBDC()), std::pair(0, gdi::HDC{}));
  EXPECT_EQ(testing::ErrorNumberOf([&] { dib.CreateFromBitmapFile(dir / "missing.bmp"); }), 53);
}

}  // namespace
}  // namespace velkor
