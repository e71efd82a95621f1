#include "platform/Gdi.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace velkor::gdi {
namespace {

// A memory context holding a fresh DIB section; released on destruction.
struct Surface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint8_t* bits = nullptr;
  Surface(int32_t w, int32_t h, int bpp = 32, std::vector<RGBQUAD> palette = {}) {
    dc = CreateCompatibleDC(nullptr);
    BITMAPINFOHEADER header;
    header.biWidth = w;
    header.biHeight = h;
    header.biBitCount = static_cast<uint16_t>(bpp);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, header, palette, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint8_t*>(p);
    previous = SelectObject(dc, bitmap);
  }
  ~Surface() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t Word(int32_t x, int32_t y) const {  // picture coordinates, 32-bit surfaces
    uint32_t v;
    std::memcpy(&v, bitmap->row(y) + 4 * x, 4);
    return v;
  }
  void SetWord(int32_t x, int32_t y, uint32_t v) { std::memcpy(bitmap->row(y) + 4 * x, &v, 4); }
};

TEST(DibSection, PositiveHeightIsBottomUpNegativeIsTopDown) {
  Surface up(2, 2), down(2, -2);
  ASSERT_NE(up.bits, nullptr);
  ASSERT_NE(down.bits, nullptr);
  SetPixel(up.dc, 1, 0, RGB(10, 20, 30));    // top-right of the picture
  SetPixel(down.dc, 1, 0, RGB(10, 20, 30));
  // Bottom-up: the top row is memory row 1. B, G, R, then 0 from a drawing call.
  const uint8_t expected[4] = {30, 20, 10, 0};
  EXPECT_EQ(std::memcmp(up.bits + 8 + 4, expected, 4), 0);
  EXPECT_EQ(std::memcmp(down.bits + 4, expected, 4), 0);
  EXPECT_EQ(GetPixel(up.dc, 1, 0), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(up.dc, 2, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(up.dc, 0, -1), CLR_INVALID);
  EXPECT_EQ(SetPixel(up.dc, -1, 0, 0), CLR_INVALID);
}

TEST(DibSection, GetObjectReportsGeometryAndFreshPixelsAreZero) {
  Surface s(37, 5, 24);
  BITMAP record;
  ASSERT_EQ(GetObjectA(s.bitmap, sizeof record, &record), static_cast<int>(sizeof record));
  EXPECT_EQ(record.bmWidth, 37);
  EXPECT_EQ(record.bmHeight, 5);
  EXPECT_EQ(record.bmWidthBytes, 112);
  EXPECT_EQ(record.bmPlanes, 1);
  EXPECT_EQ(record.bmBitsPixel, 24);
  EXPECT_EQ(record.bmBits, s.bits);
  for (int i = 0; i < 560; ++i) ASSERT_EQ(s.bits[i], 0);
}

TEST(DibSection, RefusedSectionsAndObjectBookkeeping) {
  const int before = LiveObjectCount();
  {
    testing::FailNextDibSections(1);
    Surface refused(4, 4);
    EXPECT_EQ(refused.bitmap, nullptr);
    Surface ok(4, 4);
    EXPECT_NE(ok.bitmap, nullptr);
    EXPECT_FALSE(DeleteObject(ok.bitmap)) << "a selected bitmap cannot be deleted";
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, ok.bitmap), nullptr) << "a bitmap lives in one context at a time";
    DeleteDC(other);
    HPEN pen = CreatePen(PS_SOLID, 1, 0xFF);
    HGDIOBJ oldPen = SelectObject(ok.dc, pen);
    EXPECT_NE(oldPen, nullptr);
    EXPECT_EQ(SelectObject(ok.dc, oldPen), pen);
    DeleteObject(pen);
  }
  EXPECT_EQ(LiveObjectCount(), before);
}

// Source 4 x 4 with pixel (x, y) = 0xA0000000 | y << 8 | x, destination zero.
class BlitClipping : public ::testing::Test {
 protected:
  Surface src{4, 4}, dst{4, 4};
  void SetUp() override {
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) src.SetWord(x, y, 0xA0000000u | (y << 8) | x);
  }
  // The destination as a 4 x 4 map of source coordinates, "--" where untouched.
  std::string Map() const {
    std::string out;
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        const uint32_t v = dst.Word(x, y);
        out += v == 0 ? "--" : std::to_string(v & 0xFF) + std::to_string((v >> 8) & 0xFF);
        out += x < 3 ? " " : "";
      }
      out += "\n";
    }
    return out;
  }
};

TEST_F(BlitClipping, EveryEdgeOfBothSurfaces) {
  struct Case {
    const char* name;
    int32_t x, y, xs, ys;
    const char* map;
  };
  const Case cases[] = {
      {"left and top of the destination", -1, -1, 0, 0, "11 21 31 --\n12 22 32 --\n13 23 33 --\n-- -- -- --\n"},
      {"right and bottom of the destination", 2, 3, 0, 0, "-- -- -- --\n-- -- -- --\n-- -- -- --\n-- -- 00 10\n"},
      {"right and top of the source", 0, 0, 2, -1, "-- -- -- --\n20 30 -- --\n21 31 -- --\n22 32 -- --\n"},
  };
  for (const Case& c : cases) {
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) dst.SetWord(x, y, 0);
    ASSERT_TRUE(BitBlt(dst.dc, c.x, c.y, 4, 4, src.dc, c.xs, c.ys, SRCCOPY)) << c.name;
    EXPECT_EQ(Map(), c.map) << c.name;
  }
  EXPECT_EQ(dst.Word(0, 1), 0xA0000002u) << "32-bit to 32-bit copies the fourth byte";
  EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 0x00EE0086)) << "only SRCCOPY";
}

TEST_F(BlitClipping, NegativeBlocksAreRefusedAndEmptyOnesCopyNothing) {
  struct Case {
    const char* name;
    int32_t w, h, ws, hs;
    bool stretch, result;
  };
  const Case cases[] = {{"copy, negative width", -1, 4, 0, 0, false, false},
                        {"copy, negative height", 4, -1, 0, 0, false, false},
                        {"copy, zero width", 0, 4, 0, 0, false, true},
                        {"copy, zero height", 4, 0, 0, 0, false, true},
                        {"stretch, negative width", -2, 4, 2, 2, true, false},
                        {"stretch, negative height", 4, -2, 2, 2, true, false},
                        {"stretch, negative source width", 4, 4, -2, 2, true, false},
                        {"stretch, negative source height", 4, 4, 2, -2, true, false},
                        {"stretch, zero width", 0, 4, 2, 2, true, true},
                        {"stretch, zero height", 4, 0, 2, 2, true, true},
                        {"stretch, zero source width", 4, 4, 0, 2, true, true},
                        {"stretch, zero source height", 4, 4, 2, 0, true, true}};
  for (const Case& c : cases) {
    const bool done = c.stretch ? StretchBlt(dst.dc, 0, 0, c.w, c.h, src.dc, 0, 0, c.ws, c.hs, SRCCOPY)
                                : BitBlt(dst.dc, 0, 0, c.w, c.h, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(done, c.result) << c.name;
    EXPECT_EQ(Map(), "-- -- -- --\n-- -- -- --\n-- -- -- --\n-- -- -- --\n") << c.name;
  }
}

TEST(Blit, FromTwentyFourBitsWritesZeroIntoTheFourthByte) {
  Surface src(2, 1, 24), dst(2, 1);
  SetPixel(src.dc, 0, 0, RGB(1, 2, 3));
  SetPixel(src.dc, 1, 0, RGB(4, 5, 6));
  dst.SetWord(0, 0, 0xFFFFFFFF);
  dst.SetWord(1, 0, 0xFFFFFFFF);
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Word(0, 0), 0x00010203u);
  EXPECT_EQ(dst.Word(1, 0), 0x00040506u);
}

TEST(Blit, FromAPaletteTheColourComesWithAZeroFourthByte) {
  Surface src(2, 1, 8, {{1, 2, 3, 0x7F}, {4, 5, 6, 0x7F}}), dst(2, 1);
  src.bits[0] = 1;
  src.bits[1] = 0;
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Word(0, 0), 0x00060504u);
  EXPECT_EQ(dst.Word(1, 0), 0x00030201u);
}

TEST(Blit, OverlappingCopyWithinOneSurface) {
  Surface s(4, 1);
  for (int x = 0; x < 4; ++x) s.SetWord(x, 0, static_cast<uint32_t>(x + 1));
  ASSERT_TRUE(BitBlt(s.dc, 1, 0, 3, 1, s.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(s.Word(0, 0), 1u);
  EXPECT_EQ(s.Word(1, 0), 1u);
  EXPECT_EQ(s.Word(2, 0), 2u);
  EXPECT_EQ(s.Word(3, 0), 3u);
}

TEST(Blit, LeftClippedTwentyFourBitsIntoThirtyTwo) {
  Surface src(3, 1, 24), dst(4, 1);
  for (int x = 0; x < 3; ++x) SetPixel(src.dc, x, 0, RGB(3 * x + 1, 3 * x + 2, 3 * x + 3));
  for (int x = 0; x < 4; ++x) dst.SetWord(x, 0, 0xFFFFFFFF);
  ASSERT_TRUE(BitBlt(dst.dc, -1, 0, 3, 1, src.dc, 0, 0, SRCCOPY));  // source 0 falls off the left
  EXPECT_EQ(dst.Word(0, 0), 0x00040506u);
  EXPECT_EQ(dst.Word(1, 0), 0x00070809u);
  EXPECT_EQ(dst.Word(2, 0), 0xFFFFFFFFu);
  ASSERT_TRUE(BitBlt(dst.dc, 1, 0, 4, 1, src.dc, -2, 0, SRCCOPY));  // source -2 and -1 do not exist
  EXPECT_EQ(dst.Word(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(dst.Word(3, 0), 0x00010203u);
}

TEST(Stretch, WithinOneSurfaceReadsThePictureAsItWasBefore) {
  Surface s(4, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) s.SetWord(x, y, static_cast<uint32_t>(0xA0000000u | (y << 8) | (x + 1)));
  // The first two pixels of row 0 doubled over the whole row; row 1 untouched.
  ASSERT_TRUE(StretchBlt(s.dc, 0, 0, 4, 1, s.dc, 0, 0, 2, 1, SRCCOPY));
  const uint32_t row0[] = {0xA0000001u, 0xA0000001u, 0xA0000002u, 0xA0000002u};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(s.Word(x, 0), row0[x]) << x;
  EXPECT_EQ(s.Word(0, 1), 0xA0000101u);
  // Shrinking row 1 onto the right half of itself.
  ASSERT_TRUE(StretchBlt(s.dc, 2, 1, 2, 1, s.dc, 0, 1, 4, 1, SRCCOPY));
  EXPECT_EQ(s.Word(2, 1), 0xA0000102u);
  EXPECT_EQ(s.Word(3, 1), 0xA0000104u);
}

TEST(Stretch, FromTwentyFourBitsTheFourthByteIsZero) {
  Surface src(1, 1, 24), dst(2, 1);
  SetPixel(src.dc, 0, 0, RGB(1, 2, 3));
  dst.SetWord(0, 0, 0xFFFFFFFF);
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 1, 1, SRCCOPY));
  EXPECT_EQ(dst.Word(0, 0), 0x00010203u);
  EXPECT_EQ(dst.Word(1, 0), 0x00010203u);
}

TEST(Stretch, NearestPixelUpAndDownWithClipping) {
  Surface src(2, 1), wide(5, 1), narrow(2, 1), big(6, 1);
  src.SetWord(0, 0, 0x11);
  src.SetWord(1, 0, 0x22);
  EXPECT_EQ(GetStretchBltMode(wide.dc), COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(wide.dc, 0, 0, 4, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(wide.Word(0, 0), 0x11u);
  EXPECT_EQ(wide.Word(1, 0), 0x11u);
  EXPECT_EQ(wide.Word(2, 0), 0x22u);
  EXPECT_EQ(wide.Word(3, 0), 0x22u);
  EXPECT_EQ(wide.Word(4, 0), 0u);
  // Drawn from x = -3 at 8 wide: only its right part lands.
  ASSERT_TRUE(StretchBlt(big.dc, -3, 0, 8, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(big.Word(0, 0), 0x11u);  // offset 3 of 8 still samples source 0
  EXPECT_EQ(big.Word(1, 0), 0x22u);
  Surface four(4, 1);
  for (int x = 0; x < 4; ++x) four.SetWord(x, 0, 0x10u * (x + 1));
  ASSERT_TRUE(StretchBlt(narrow.dc, 0, 0, 2, 1, four.dc, 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(narrow.Word(0, 0), 0x20u);  // centres of 2 cells fall on source 1 and 3
  EXPECT_EQ(narrow.Word(1, 0), 0x40u);
}

TEST(AlphaBlendTest, PremultipliedSourceOverDestination) {
  Surface src(2, 1), dst(2, 1);
  src.SetWord(0, 0, 0x80000064);  // B 100, A 128 (premultiplied)
  src.SetWord(1, 0, 0x00000000);  // fully transparent
  dst.SetWord(0, 0, 0xFF0000C8);  // B 200, A 255
  dst.SetWord(1, 0, 0xFF0000C8);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 2, 1, blend));
  // 100 + 200 * (1 - 128/255) = 199.6 -> 200; alpha 128 + 255 * 127/255 = 255.
  EXPECT_EQ(dst.Word(0, 0), 0xFF0000C8u);
  EXPECT_EQ(dst.Word(1, 0), 0xFF0000C8u);
  // Half constant alpha: 100 * 0.5 + 200 * (1 - 64/255) = 50 + 149.8 = 199.8 -> 200
  dst.SetWord(0, 0, 0x00000000);
  blend.SourceConstantAlpha = 128;
  ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, blend));
  // k = 128/255: B = 100k = 50.196 -> 50, A = 128k = 64.25 -> 64.
  EXPECT_EQ(dst.Word(0, 0), 0x40000032u);
}

TEST(AlphaBlendTest, ConstantZeroLeavesDestinationAndBadBlocksFail) {
  Surface src(2, 2), dst(2, 2), src24(2, 2, 24);
  src.SetWord(0, 0, 0xFFFFFFFF);
  dst.SetWord(0, 0, 0x12345678);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 0, AC_SRC_ALPHA};
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, 2, 2, blend));
  EXPECT_EQ(dst.Word(0, 0), 0x12345678u);
  blend.SourceConstantAlpha = 255;
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, 2, 2, src.dc, 1, 0, 2, 2, blend)) << "source block outside";
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, 2, 2, src24.dc, 0, 0, 2, 2, blend)) << "no per-pixel alpha";
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, 2, 2, nullptr, 0, 0, 2, 2, blend));
  for (auto [w, h, ws, hs] : {std::array{-1, 2, 2, 2}, std::array{2, -1, 2, 2}, std::array{2, 2, -1, 2},
                              std::array{2, 2, 2, -1}}) {
    EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, w, h, src.dc, 0, 0, ws, hs, blend)) << w << " " << h << " " << ws << " " << hs;
  }
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, 0, 2, blend)) << "an empty source block";
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 2, 2, src.dc, 0, 2, 2, 0, blend));
  EXPECT_EQ(dst.Word(0, 0), 0x12345678u);
}

TEST(Shapes, RectangleCoversLeftTopInclusiveRightBottomExclusive) {
  Surface s(6, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) s.SetWord(x, y, 0xFFFFFFFF);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ oldPen = SelectObject(s.dc, pen);
  HGDIOBJ oldBrush = SelectObject(s.dc, brush);
  ASSERT_TRUE(Rectangle(s.dc, 1, 1, 5, 4));
  SelectObject(s.dc, oldPen);
  SelectObject(s.dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  const char* expected[5] = {"......", ".oooo.", ".oiio.", ".oooo.", "......"};
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      const uint32_t v = s.Word(x, y);
      const char c = v == 0xFFFFFFFF ? '.' : v == 0x00FF0000 ? 'o' : v == 0x0000FF00 ? 'i' : '?';
      EXPECT_EQ(c, expected[y][x]) << x << "," << y;
    }
  }
}

TEST(Shapes, FillRectClipsAndPaletteSurfacesTakeTheNearestEntry) {
  std::vector<RGBQUAD> palette = {{0, 0, 0, 0}, {0, 0, 250, 0}, {255, 255, 255, 0}};
  Surface s(4, 2, 8, palette);
  HBRUSH brush = CreateSolidBrush(RGB(240, 10, 10));
  EXPECT_EQ(FillRect(s.dc, RECT{-5, -5, 2, 9}, brush), 1);
  DeleteObject(brush);
  EXPECT_EQ(GetPixel(s.dc, 0, 0), RGB(250, 0, 0));
  EXPECT_EQ(GetPixel(s.dc, 1, 1), RGB(250, 0, 0));
  EXPECT_EQ(GetPixel(s.dc, 2, 0), RGB(0, 0, 0));
  RGBQUAD table[3];
  EXPECT_EQ(GetDIBColorTable(s.dc, 0, 3, table), 3u);
  EXPECT_EQ(table[2].rgbRed, 255);
}

}  // namespace
}  // namespace velkor::gdi
