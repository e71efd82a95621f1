#include "platform/Gdi.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "platform/FreeImageBitmap.h"
#include "platform/GdiObjects.h"
#include "support/TestFiles.h"

namespace velkor::gdi {
namespace {

// A memory context holding a fresh DIB section; released on destruction.
struct Surface {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint8_t* bits = nullptr;
  Surface(int32_t w, int32_t h, int bpp = 32, std::vector<RGBQUAD> palette = {}) {
    BITMAPINFOHEADER header;
    header.biWidth = w, header.biHeight = h, header.biBitCount = static_cast<uint16_t>(bpp);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, header, palette, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint8_t*>(p);
    previous = SelectObject(dc, bitmap);
  }
  ~Surface() { SelectObject(dc, previous), DeleteObject(bitmap), DeleteDC(dc); }
  // The pixel's bytes as a little-endian word (B, G, R, fourth byte).
  uint32_t Word(int32_t x, int32_t y = 0) const {
    uint32_t v = 0;
    std::memcpy(&v, bitmap->row(y) + bitmap->bpp() / 8 * x, bitmap->bpp() / 8);
    return v;
  }
  void SetWord(int32_t x, int32_t y, uint32_t v) {
    std::memcpy(bitmap->row(y) + bitmap->bpp() / 8 * x, &v, bitmap->bpp() / 8);
  }
  void Clear(uint8_t byte) { std::memset(bits, byte, static_cast<size_t>(bitmap->stride()) * bitmap->height()); }
  std::vector<uint32_t> Row(int32_t y = 0) const {
    std::vector<uint32_t> r(bitmap->width());
    for (int32_t x = 0; x < bitmap->width(); ++x) r[x] = Word(x, y);
    return r;
  }
};

TEST(DibSection, LayoutGeometryAndBookkeeping) {
  Surface up(2, 2), down(2, -2), odd(37, 5, 24);
  SetPixel(up.dc, 1, 0, RGB(10, 20, 30));  // top-right of the picture: memory row 1 when bottom-up
  SetPixel(down.dc, 1, 0, RGB(10, 20, 30));
  for (const uint8_t* at : {up.bits + 12, down.bits + 4}) EXPECT_EQ(std::memcmp(at, "\x1E\x14\x0A\0", 4), 0);
  EXPECT_EQ(std::vector<COLORREF>(
                {GetPixel(up.dc, 1, 0), GetPixel(up.dc, 2, 0), GetPixel(up.dc, 0, -1), SetPixel(up.dc, -1, 0, 0)}),
            std::vector<COLORREF>({RGB(10, 20, 30), CLR_INVALID, CLR_INVALID, CLR_INVALID}))
      << "outside the surface";
  BITMAP r;
  ASSERT_EQ(GetObjectA(odd.bitmap, sizeof r, &r), static_cast<int>(sizeof r));
  EXPECT_EQ(std::vector<int64_t>({r.bmWidth, r.bmHeight, r.bmWidthBytes, r.bmPlanes, r.bmBitsPixel}),
            std::vector<int64_t>({37, 5, 112, 1, 24}));
  EXPECT_TRUE(r.bmBits == odd.bits && std::count(odd.bits, odd.bits + 560, 0) == 560) << "fresh pixels are zero";
  const int before = LiveObjectCount();
  {
    testing::FailNextDibSections(1);
    Surface refused(4, 4), ok(4, 4);
    EXPECT_TRUE(refused.bitmap == nullptr && !DeleteObject(ok.bitmap)) << "a selected bitmap cannot be deleted";
    Surface other(1, 1);
    EXPECT_EQ(SelectObject(other.dc, ok.bitmap), nullptr) << "a bitmap lives in one context at a time";
  }
  EXPECT_EQ(LiveObjectCount(), before);
}

// Source 4 x 4, pixel (x, y) = 0xA0000000 | y << 8 | x; the destination as a
// map of the source coordinates it received, "--" where untouched.
std::string Map(const Surface& s) {
  std::string map;
  for (int y = 0; y < 4; ++y)
    for (uint32_t v : s.Row(y)) map += v == 0 ? "-- " : std::to_string(v & 0xFF) + std::to_string(v >> 8 & 0xFF) + " ";
  return map;
}

TEST(BitBlt, ClipsAtEveryEdgeOfBothSurfaces) {
  Surface src(4, 4), dst(4, 4);
  for (int i = 0; i < 16; ++i) src.SetWord(i % 4, i / 4, 0xA0000000u | (i / 4 << 8) | i % 4);
  const std::tuple<int32_t, int32_t, int32_t, int32_t, const char*> cases[] = {
      {-1, -1, 0, 0, "11 21 31 -- 12 22 32 -- 13 23 33 -- -- -- -- -- "},
      {2, 3, 0, 0, "-- -- -- -- -- -- -- -- -- -- -- -- -- -- 00 10 "},
      {0, 0, 2, -1, "-- -- -- -- 20 30 -- -- 21 31 -- -- 22 32 -- -- "},
  };
  for (const auto& [x, y, xs, ys, map] : cases) {
    dst.Clear(0);
    ASSERT_TRUE(BitBlt(dst.dc, x, y, 4, 4, src.dc, xs, ys, SRCCOPY));
    EXPECT_EQ(Map(dst), map) << x << "," << y << " from " << xs << "," << ys;
  }
  // Within one surface, overlapping: each reads the picture as it was before.
  ASSERT_TRUE(BitBlt(src.dc, 1, 1, 3, 3, src.dc, 0, 0, SRCCOPY));
  ASSERT_TRUE(StretchBlt(src.dc, 0, 0, 4, 2, src.dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(Map(src), "00 00 10 10 00 00 10 10 02 01 11 21 03 02 12 22 ");
  EXPECT_EQ(dst.Word(0, 1), 0xA0000002u) << "32 to 32 bits copies the fourth byte";
  EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 0x00EE0086) ||
               BitBlt(dst.dc, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY))
      << "only SRCCOPY, and only from a surface";
}

// One-row surfaces 4 wide. Source pixel x is P(x) = 0x010203 * (x + 1) in
// B, G, R, with 0xA0 in the fourth byte at 32 bits (or the palette entry of
// that colour at 8 bits); every destination byte starts at 0xFF.
constexpr uint32_t P(int x) { return 0x010203u * (x + 1); }
constexpr uint32_t A = 0xA0000000u, F = 0xFFFFFFFFu, F24 = 0xFFFFFFu;

// name, source and destination depth (0: within the source surface itself), the call, the row it leaves, its result
using RowCase = std::tuple<const char*, int, int, bool (*)(HDC dst, HDC src), std::vector<uint32_t>, bool>;

bool Copy(HDC d, int32_t x, int32_t w, HDC s, int32_t xs) { return BitBlt(d, x, 0, w, 1, s, xs, 0, SRCCOPY); }
bool Stretch(HDC d, int32_t x, int32_t w, int32_t h, HDC s, int32_t xs, int32_t ws, int32_t hs) {
  return StretchBlt(d, x, 0, w, h, s, xs, 0, ws, hs, SRCCOPY);
}

const RowCase kRows[] = {
    {"24 into 32 bits, fourth byte 0",
     24,
     32,
     [](HDC d, HDC s) { return Copy(d, 0, 3, s, 0); },
     {P(0), P(1), P(2), F},
     true},
    {"24 into 32, left-clipped",
     24,
     32,
     [](HDC d, HDC s) { return Copy(d, -1, 4, s, 0); },
     {P(1), P(2), P(3), F},
     true},
    {"24 into 32, source left of 0", 24, 32, [](HDC d, HDC s) { return Copy(d, 1, 4, s, -2); }, {F, F, F, P(0)}, true},
    {"24 into 24", 24, 24, [](HDC d, HDC s) { return Copy(d, 1, 3, s, 0); }, {F24, P(0), P(1), P(2)}, true},
    {"32 into 24", 32, 24, [](HDC d, HDC s) { return Copy(d, 0, 2, s, 2); }, {P(2), P(3), F24, F24}, true},
    {"palette into 32", 8, 32, [](HDC d, HDC s) { return Copy(d, 0, 4, s, 0); }, {P(3), P(2), P(1), P(0)}, true},
    {"overlapping, rightwards",
     32,
     0,
     [](HDC d, HDC s) { return Copy(d, 1, 3, s, 0); },
     {A | P(0), A | P(0), A | P(1), A | P(2)},
     true},
    {"16 bits, red and blue masks swapped, overlapping",
     16,
     0,
     [](HDC d, HDC s) { return Copy(d, 1, 3, s, 0); },
     {0x0203, 0x0203, 0x0406, 0x0609},
     true},
    {"overlapping, leftwards",
     32,
     0,
     [](HDC d, HDC s) { return Copy(d, 0, 3, s, 1); },
     {A | P(1), A | P(2), A | P(3), A | P(3)},
     true},
    {"stretch up",
     32,
     32,
     [](HDC d, HDC s) { return Stretch(d, 0, 4, 1, s, 0, 2, 1); },
     {A | P(0), A | P(0), A | P(1), A | P(1)},
     true},
    {"stretch down, pixel centres",
     32,
     32,
     [](HDC d, HDC s) { return Stretch(d, 0, 2, 1, s, 0, 4, 1); },
     {A | P(1), A | P(3), F, F},
     true},
    {"stretch, left-clipped",
     32,
     32,
     [](HDC d, HDC s) { return Stretch(d, -3, 8, 1, s, 0, 2, 1); },
     {A | P(0), A | P(1), A | P(1), A | P(1)},
     true},
    {"stretch, source left of 0",
     32,
     32,
     [](HDC d, HDC s) { return Stretch(d, 0, 4, 1, s, -1, 2, 1); },
     {F, F, A | P(0), A | P(0)},
     true},
    {"stretch, source past its end",
     32,
     32,
     [](HDC d, HDC s) { return Stretch(d, 0, 4, 1, s, 3, 2, 1); },
     {A | P(3), A | P(3), F, F},
     true},
    {"stretch, source row above",
     32,
     32,
     [](HDC d, HDC s) { return StretchBlt(d, 0, 0, 4, 1, s, 0, -1, 2, 1, SRCCOPY); },
     {F, F, F, F},
     true},
    {"stretch, source row below",
     32,
     32,
     [](HDC d, HDC s) { return StretchBlt(d, 0, 0, 4, 1, s, 0, 1, 2, 1, SRCCOPY); },
     {F, F, F, F},
     true},
    {"stretch, top-clipped",
     32,
     32,
     [](HDC d, HDC s) { return StretchBlt(d, 0, -1, 4, 2, s, 0, 0, 2, 1, SRCCOPY); },
     {A | P(0), A | P(0), A | P(1), A | P(1)},
     true},
    {"stretch, same size",
     32,
     32,
     [](HDC d, HDC s) { return Stretch(d, 1, 2, 1, s, 0, 2, 1); },
     {F, A | P(0), A | P(1), F},
     true},
    {"stretch from 24 bits",
     24,
     32,
     [](HDC d, HDC s) { return Stretch(d, 0, 2, 1, s, 1, 1, 1); },
     {P(1), P(1), F, F},
     true},
    {"stretch from a palette",
     8,
     32,
     [](HDC d, HDC s) { return Stretch(d, 0, 2, 1, s, 0, 1, 1); },
     {P(3), P(3), F, F},
     true},
    {"stretch within one surface",
     32,
     0,
     [](HDC d, HDC s) { return Stretch(d, 0, 4, 1, s, 0, 2, 1); },
     {A | P(0), A | P(0), A | P(1), A | P(1)},
     true},
    {"stretch, no source",
     32,
     32,
     [](HDC d, HDC) { return Stretch(d, 0, 4, 1, nullptr, 0, 2, 1); },
     {F, F, F, F},
     false},
    {"stretch, another rop",
     32,
     32,
     [](HDC d, HDC s) { return StretchBlt(d, 0, 0, 4, 1, s, 0, 0, 2, 1, 0x00EE0086); },
     {F, F, F, F},
     false},
};

TEST(Blit, EveryDepthClipAndBlockSize) {
  std::vector<RGBQUAD> palette;
  for (int i = 0; i < 4; ++i) palette.push_back({uint8_t(P(i)), uint8_t(P(i) >> 8), uint8_t(P(i) >> 16), 0x7F});
  for (const auto& [name, srcBpp, dstBpp, call, want, result] : kRows) {
    Surface src(4, 1, srcBpp, srcBpp == 8 ? palette : std::vector<RGBQUAD>{}), dst(4, 1, dstBpp ? dstBpp : 32);
    dst.Clear(0xFF);
    for (int x = 0; x < 4; ++x) src.SetWord(x, 0, srcBpp == 8 ? 3 - x : A | P(x));
    if (srcBpp == 16) src.bitmap->masks[0] = 0x001F, src.bitmap->masks[2] = 0x7C00;
    const Surface& to = dstBpp ? dst : src;
    EXPECT_EQ(call(to.dc, src.dc), result) << name;
    EXPECT_EQ(to.Row(), want) << name;
  }
  // Empty blocks draw nothing and succeed; negative ones fail. Copies use w and h only.
  Surface src(4, 1), dst(4, 1);
  dst.Clear(0xFF);
  const int blocks[][5] = {{0, 1, 2, 1, 1},  {4, 0, 2, 1, 1},  {4, 1, 0, 1, 1},  {4, 1, 2, 0, 1},
                           {-2, 1, 2, 1, 0}, {4, -1, 2, 1, 0}, {4, 1, -2, 1, 0}, {4, 1, 2, -1, 0}};
  for (const auto& b : blocks) {
    EXPECT_EQ(StretchBlt(dst.dc, 0, 0, b[0], b[1], src.dc, 0, 0, b[2], b[3], SRCCOPY), bool(b[4]))
        << b[0] << b[1] << b[2] << b[3];
    if (b[2] == 2 && b[3] == 1) {
      EXPECT_EQ(BitBlt(dst.dc, 0, 0, b[0], b[1], src.dc, 0, 0, SRCCOPY), bool(b[4])) << b[0] << b[1];
    }
    EXPECT_EQ(dst.Row(), std::vector<uint32_t>(4, F));
  }
}

// 1 x 1 premultiplied source B 100, alpha 128 over a destination B 200, alpha 255.
TEST(AlphaBlend, SourceOverDestination) {
  // name, constant alpha, format, source, destination, result
  const std::tuple<const char*, uint8_t, uint8_t, uint32_t, uint32_t, uint32_t> cases[] = {
      {"per pixel", 255, AC_SRC_ALPHA, 0x80000064, 0xFF0000C8, 0xFF0000C8},  // 100 + 200 * 127/255 = 199.6
      {"transparent", 255, AC_SRC_ALPHA, 0, 0xFF0000C8, 0xFF0000C8},
      {"per pixel, half constant", 128, AC_SRC_ALPHA, 0x80000064, 0, 0x40000032},  // 100k, 128k with k = 128/255
      {"constant only", 128, 0, 0x80000064, 0xFF0000C8, 0x7F000096},  // 100k + 200 (1 - k); alpha 255 (1 - k)
      {"constant zero", 0, AC_SRC_ALPHA, 0xFFFFFFFF, 0x12345678, 0x12345678},
  };
  for (const auto& [name, constant, format, from, to, want] : cases) {
    Surface src(1, 1), dst(1, 1);
    src.SetWord(0, 0, from), dst.SetWord(0, 0, to);
    ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, {AC_SRC_OVER, 0, constant, format})) << name;
    EXPECT_EQ(dst.Word(0), want) << name;
  }
  Surface src(2, 1), dst24(2, 1, 24);
  src.SetWord(0, 0, 0x80000064), dst24.SetWord(1, 0, 0x123456);
  ASSERT_TRUE(AlphaBlend(dst24.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(dst24.Row(), (std::vector<uint32_t>{0x64, 0x123456})) << "no fourth byte to blend";
}

TEST(AlphaBlend, BadBlocksAndModesFailEmptyOnesDrawNothing) {
  Surface src(2, 2), dst(2, 2), src24(2, 2, 24);
  src.SetWord(0, 0, 0xFFFFFFFF), dst.SetWord(0, 0, 0x12345678);
  const BLENDFUNCTION ok{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // source, its x and y, destination w and h, source w and h, blend, result
  const std::tuple<HDC, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, BLENDFUNCTION, bool> cases[] = {
      {src.dc, 1, 0, 2, 2, 2, 2, ok, false},
      {src.dc, 0, 1, 2, 2, 2, 2, ok, false},
      {src.dc, -1, 0, 2, 2, 2, 2, ok, false},
      {src.dc, 0, -1, 2, 2, 2, 2, ok, false},
      {src24.dc, 0, 0, 2, 2, 2, 2, ok, false},
      {nullptr, 0, 0, 2, 2, 2, 2, ok, false},
      {dst.dc, 0, 0, 2, 2, 2, 2, ok, false},
      {src.dc, 0, 0, 2, 2, 2, 2, {1, 0, 255, AC_SRC_ALPHA}, false},
      {src.dc, 0, 0, 2, 2, 2, 2, {AC_SRC_OVER, 1, 255, AC_SRC_ALPHA}, false},
      {src.dc, 0, 0, -1, 2, 2, 2, ok, false},
      {src.dc, 0, 0, 2, -1, 2, 2, ok, false},
      {src.dc, 0, 0, 2, 2, -1, 2, ok, false},
      {src.dc, 0, 0, 2, 2, 2, -1, ok, false},
      {src.dc, 0, 0, 0, 2, 2, 2, ok, true},
      {src.dc, 0, 0, 2, 0, 2, 2, ok, true},
      {src.dc, 0, 0, 2, 2, 0, 2, ok, true},
      {src.dc, 0, 2, 2, 2, 2, 0, ok, true},
  };
  for (const auto& [from, x, y, w, h, ws, hs, blend, result] : cases) {
    EXPECT_EQ(AlphaBlend(dst.dc, 0, 0, w, h, from, x, y, ws, hs, blend), result)
        << x << "," << y << " " << w << "x" << h << " from " << ws << "x" << hs;
    EXPECT_EQ(dst.Word(0, 0), 0x12345678u);
  }
}

// A fill clipped to the surface takes the nearest palette entry at 8 bits.
// (Rectangle's extent is pinned through FillRectangle by the ui and raster tests.)
TEST(Shapes, ClippedFillTakesTheNearestPaletteEntry) {
  Surface p(4, 2, 8, {{0, 0, 0, 0}, {0, 0, 250, 0}, {255, 255, 255, 0}});
  HBRUSH red = CreateSolidBrush(RGB(240, 10, 10));
  EXPECT_EQ(FillRect(p.dc, RECT{-5, -5, 2, 9}, red), 1);
  DeleteObject(red);
  for (int y : {0, 1}) EXPECT_EQ(p.Row(y), (std::vector<uint32_t>{1, 1, 0, 0})) << y;
  EXPECT_EQ(GetPixel(p.dc, 0, 0), RGB(250, 0, 0));
  RGBQUAD table[3];
  EXPECT_TRUE(GetDIBColorTable(p.dc, 0, 3, table) == 3u && table[2].rgbRed == 255);
}

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// LoadImageA copies the usual 24-bit file's rows straight into the section;
// every file must still load exactly as FreeImage decodes it, or fail where
// FreeImage fails. A missing last row, which FreeImage reads as black, is refused.
TEST(LoadImageOnce, LoadsEveryFileAsFreeImageDecodesIt) {
  // name, width, height, bits per pixel, change to the written file, refused
  const std::tuple<const char*, int, int, int, void (*)(Bytes&), bool> variants[] = {
      {"plain", 8, 5, 24, [](Bytes&) {}, false},
      {"padded rows", 7, 3, 24, [](Bytes&) {}, false},
      {"colour table", 7, 3, 24,
       [](Bytes& b) {
         Put32(b, 46, 1);  // one colour used, its entry inserted before the pixels
         b.insert(b.begin() + 54, {1, 2, 3, 0});
         Put32(b, 10, 58), Put32(b, 2, static_cast<uint32_t>(b.size()));
       },
       false},
      {"top-down", 7, 3, 24, [](Bytes& b) { Put32(b, 22, static_cast<uint32_t>(-3)); }, false},
      {"pixels further on", 5, 4, 24, [](Bytes& b) { b.insert(b.begin() + 54, 8, 0xAB), Put32(b, 10, 62); }, false},
      {"last row missing", 7, 3, 24, [](Bytes& b) { b.resize(b.size() - 24); }, true},
      {"32 bits", 6, 4, 32, [](Bytes&) {}, false},
  };
  const velkor::testing::ScratchDir dir;
  const std::string file = dir / "frame.bmp";
  for (const auto& [name, width, height, bpp, change, refused] : variants) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(velkor::testing::WriteTestBmp(
        file, width, height, bpp, [](int x, int y) { return static_cast<uint32_t>(x * 0x10305 + y * 0x70B01); }));
    Bytes bytes = velkor::testing::ReadFileBytes(file);
    change(bytes);
    velkor::testing::WriteFileBytes(file, bytes);
    const platform::FreeImageBitmap expected(FreeImage_Load(FIF_BMP, file.c_str(), 0));
    HBITMAP loaded = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_EQ(loaded != nullptr, expected != nullptr && !refused);
    if (!loaded) continue;
    ASSERT_EQ(std::vector<int64_t>({loaded->bpp(), loaded->width(), loaded->height()}),
              std::vector<int64_t>({FreeImage_GetBPP(expected.get()), FreeImage_GetWidth(expected.get()),
                                    FreeImage_GetHeight(expected.get())}));
    for (int32_t y = 0; y < loaded->height(); ++y) {  // memory row y of both is picture row y from the bottom
      EXPECT_EQ(std::memcmp(loaded->bits() + int64_t{y} * loaded->stride(), FreeImage_GetScanLine(expected.get(), y),
                            static_cast<size_t>(loaded->width() * bpp / 8)),
                0)
          << "row " << y;
    }
    DeleteObject(loaded);
  }
}

}  // namespace
}  // namespace velkor::gdi
