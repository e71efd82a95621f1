#include "raster/cDib.h"

#include <gtest/gtest.h>

#include "common/VbError.h"
#include "platform/Gdi.h"
#include "raster/cAlphaDibSection.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using testing::ScratchDir;

// A 5 x 3 picture with a different colour in each corner.
uint32_t Corners(int x, int y) {
  if (x == 0 && y == 0) return 0xFF0000;  // top-left red
  if (x == 4 && y == 0) return 0x00FF00;  // top-right green
  if (x == 0 && y == 2) return 0x0000FF;  // bottom-left blue
  if (x == 4 && y == 2) return 0xFFFFFF;
  return 0x000000;
}

uint32_t AlphaPixel(const cAlphaDibSection& r, int x, int y) {  // picture coordinates
  const uint8_t* p = r.PictureRow(y) + 4 * x;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct DepthCase {
  int bpp;
  int stride;
  uint32_t topRight;  // after a blit into the alpha raster, as 0xAARRGGBB
};

TEST(FrameBitmap, LoadsEveryDepthWithItsGeometryAndColours) {
  ScratchDir dir;
  const DepthCase cases[] = {
      {1, 4, 0x00FFFFFF},  // two colours only: the corners in a 1-bit file are black and white
      {4, 4, 0x0000FF00}, {8, 8, 0x0000FF00}, {16, 12, 0x0000FF00}, {24, 16, 0x0000FF00},
      {32, 20, 0x7F00FF00}};
  for (const auto& c : cases) {
    const std::string path = dir / ("d" + std::to_string(c.bpp) + ".bmp");
    auto pixel = [&](int x, int y) {
      uint32_t p = Corners(x, y);
      if (c.bpp == 1) p = p == 0 ? 0 : 0xFFFFFF;
      if (c.bpp == 32) p |= 0x7F000000;
      return p;
    };
    ASSERT_TRUE(testing::WriteTestBmp(path, 5, 3, c.bpp, pixel)) << c.bpp;
    cDib dib;
    ASSERT_EQ(dib.CreateFromBitmapFile(path), c.bpp);
    EXPECT_EQ(dib.Width(), 5);
    EXPECT_EQ(dib.Height(), 3);
    EXPECT_EQ(dib.bpp(), c.bpp);
    EXPECT_EQ(dib.BytesPerScanLine(), c.stride) << c.bpp;
    EXPECT_EQ(dib.Size(), c.stride * 3);
    cAlphaDibSection strip;
    ASSERT_TRUE(strip.Create(5, 3));
    ASSERT_TRUE(gdi::BitBlt(strip.hDC(), 0, 0, 5, 3, dib.hDIBDC(), 0, 0, gdi::SRCCOPY));
    EXPECT_EQ(AlphaPixel(strip, 4, 0), c.topRight) << c.bpp;
    if (c.bpp > 1) {
      EXPECT_EQ(AlphaPixel(strip, 0, 0) & 0xFFFFFF, 0xFF0000u) << c.bpp;
      EXPECT_EQ(AlphaPixel(strip, 0, 2) & 0xFFFFFF, 0x0000FFu) << c.bpp;
    }
  }
}

TEST(FrameBitmap, TwentyFourBit37x5HasPaddedRows) {
  ScratchDir dir;
  ASSERT_TRUE(testing::WriteTestBmp(dir / "f.bmp", 37, 5, 24, [](int, int) { return 0x123456u; }));
  cDib dib;
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "f.bmp"), 24);
  EXPECT_EQ(dib.BytesPerScanLine(), 112);
  EXPECT_EQ(dib.Size(), 560);
}

TEST(FrameBitmap, RunLengthAndTopDownFiles) {
  ScratchDir dir;
  // Eight-bit run-length encoded, 6 x 2: the bottom row a run of index 0, the
  // top row a run of index 1 (red), then end of line and end of bitmap.
  std::vector<uint8_t> rle = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 6, 0, 0, 0,
                              2, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0, 8, 0, 0, 0};
  rle.resize(46, 0);
  for (uint8_t b : {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 6, 0, 0, 0, 6, 1, 0, 1}) rle.push_back(b);
  testing::WriteFileBytes(dir / "rle.bmp", rle);
  // A top-down 24-bit file (negative height), 1 x 2: top blue, bottom white.
  std::vector<uint8_t> topDown = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0,
                                  0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0};
  topDown.resize(54, 0);
  for (uint8_t b : {255, 0, 0, 0, 255, 255, 255, 0}) topDown.push_back(b);
  testing::WriteFileBytes(dir / "topdown.bmp", topDown);

  cDib dib;
  ASSERT_EQ(dib.CreateFromBitmapFile(dir / "rle.bmp"), 8);
  EXPECT_EQ(gdi::GetPixel(dib.hDIBDC(), 5, 0), gdi::RGB(255, 0, 0));
  EXPECT_EQ(gdi::GetPixel(dib.hDIBDC(), 5, 1), gdi::RGB(0, 0, 0));
  ASSERT_EQ(dib.CreateFromBitmapFile(dir / "topdown.bmp"), 24);
  EXPECT_EQ(dib.Height(), 2);
  EXPECT_EQ(gdi::GetPixel(dib.hDIBDC(), 0, 0), gdi::RGB(0, 0, 255));
  EXPECT_EQ(gdi::GetPixel(dib.hDIBDC(), 0, 1), gdi::RGB(255, 255, 255));
}

TEST(FrameBitmap, FailuresEmptyMissingAndNotABitmap) {
  ScratchDir dir;
  ASSERT_TRUE(testing::WriteTestBmp(dir / "ok.bmp", 4, 4, 24, [](int, int) { return 0xABCDEFu; }));
  testing::WriteFileBytes(dir / "empty.bmp", {});
  testing::WriteFileBytes(dir / "text.bmp", {'h', 'e', 'l', 'l', 'o'});
  auto truncated = testing::ReadFileBytes(dir / "ok.bmp");
  truncated.resize(30);
  testing::WriteFileBytes(dir / "cut.bmp", truncated);

  cDib dib;
  ASSERT_EQ(dib.CreateFromBitmapFile(dir / "ok.bmp"), 24);
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "empty.bmp"), 0);
  EXPECT_EQ(dib.Width(), 4) << "an empty file leaves the loaded picture in place";
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "text.bmp"), 0);
  EXPECT_EQ(dib.Width(), 0);
  EXPECT_EQ(dib.hDIBDC(), nullptr);
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "cut.bmp"), 0);
  // A header claiming 30000 x 30000 pixels in a file of 70 bytes.
  auto huge = testing::ReadFileBytes(dir / "ok.bmp");
  huge.resize(70);
  for (int at : {18, 22}) {
    huge[at] = 0x30;
    huge[at + 1] = 0x75;
  }
  testing::WriteFileBytes(dir / "huge.bmp", huge);
  EXPECT_EQ(dib.CreateFromBitmapFile(dir / "huge.bmp"), 0);
  try {
    dib.CreateFromBitmapFile(dir / "missing.bmp");
    FAIL();
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), 53);
  }
}

TEST(FrameBitmap, CreatePaletteAndDestroy) {
  cDib dib;
  ASSERT_TRUE(dib.Create(10, 10, 8));
  EXPECT_EQ(dib.BytesPerScanLine(), 12);
  std::vector<uint8_t> palette;
  dib.GetPalette(palette);
  ASSERT_EQ(palette.size(), 1024u);
  for (uint8_t b : palette) ASSERT_EQ(b, 0);
  palette[4 * 7 + 2] = 200;  // entry 7 red
  dib.SetPalette(palette);
  std::vector<uint8_t> back;
  dib.GetPalette(back);
  EXPECT_EQ(back[4 * 7 + 2], 200);
  dib.Cls(gdi::RGB(200, 0, 0));
  EXPECT_EQ(dib.lpBits()[0], 7);

  cDib mono;
  ASSERT_TRUE(mono.Create(3, 2, 1));
  EXPECT_EQ(mono.BytesPerScanLine(), 4);
  mono.Destroy();
  EXPECT_EQ(mono.Width(), 0);
  EXPECT_EQ(mono.Height(), 0);
  EXPECT_EQ(mono.bpp(), 0);
  EXPECT_EQ(mono.hDIBDC(), nullptr);
}

TEST(FrameBitmap, BestFit) {
  cDib big;
  ASSERT_TRUE(big.Create(200, 200, 24));
  int32_t x = -1, y = -1, w = -1, h = -1;
  big.GetBestFitInfo(100, 50, x, y, w, h);
  EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), std::vector<int32_t>({25, 0, 50, 50}));
  cDib small;
  ASSERT_TRUE(small.Create(20, 10, 24));
  small.GetBestFitInfo(100, 50, x, y, w, h, false);
  EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), std::vector<int32_t>({40, 20, 20, 10}));
  small.GetBestFitInfo(100, 50, x, y, w, h, true);
  EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), std::vector<int32_t>({0, 0, 100, 50}));
}

TEST(FrameBitmap, StretchResizeCloneImageAndSave) {
  ScratchDir dir;
  cDib dib;
  ASSERT_TRUE(dib.Create(2, 1, 24));
  gdi::SetPixel(dib.hDIBDC(), 0, 0, gdi::RGB(255, 0, 0));
  gdi::SetPixel(dib.hDIBDC(), 1, 0, gdi::RGB(0, 0, 255));
  dib.Resize(4, 2, true);
  EXPECT_EQ(dib.Width(), 4);
  EXPECT_EQ(gdi::GetPixel(dib.hDIBDC(), 1, 1), gdi::RGB(255, 0, 0));
  EXPECT_EQ(gdi::GetPixel(dib.hDIBDC(), 2, 0), gdi::RGB(0, 0, 255));
  cDib clone;
  dib.CloneTo(clone);
  EXPECT_EQ(gdi::GetPixel(clone.hDIBDC(), 3, 1), gdi::RGB(0, 0, 255));
  platform::StdPicture picture = dib.Image();
  ASSERT_NE(picture.Handle(), nullptr);
  cDib fromPicture;
  EXPECT_NE(fromPicture.CreateFromStdPicture(picture, false), 0);
  EXPECT_EQ(fromPicture.bpp(), 32);
  EXPECT_EQ(gdi::GetPixel(fromPicture.hDIBDC(), 0, 0), gdi::RGB(255, 0, 0));
  ASSERT_TRUE(dib.SaveTo24BitBitmap(dir / "saved.bmp"));
  cDib reloaded;
  ASSERT_EQ(reloaded.CreateFromBitmapFile(dir / "saved.bmp"), 24);
  EXPECT_EQ(gdi::GetPixel(reloaded.hDIBDC(), 0, 0), gdi::RGB(255, 0, 0));
  EXPECT_EQ(gdi::GetPixel(reloaded.hDIBDC(), 3, 1), gdi::RGB(0, 0, 255));
}

}  // namespace
}  // namespace velkor
