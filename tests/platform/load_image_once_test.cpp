// LoadImageA copies the usual 24-bit file's rows straight into the section;
// every file must still load exactly as FreeImage decodes it, or fail where
// FreeImage fails. A missing last row, which FreeImage reads as black, is refused.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <cstring>
#include <tuple>

#include "platform/FreeImageBitmap.h"
#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(LoadImageOnce, LoadsEveryFileAsFreeImageDecodesIt) {
  // name, width, height, bits per pixel, change to the written file, refused
  const std::tuple<const char*, int, int, int, void (*)(Bytes&), bool> variants[] = {
      {"plain", 8, 5, 24, [](Bytes&) {}, false},
      {"padded rows", 7, 3, 24, [](Bytes&) {}, false},
      {"colour table", 7, 3, 24, [](Bytes& b) {
         Put32(b, 46, 1);  // one colour used, its entry inserted before the pixels
         b.insert(b.begin() + 54, {1, 2, 3, 0});
         Put32(b, 10, 58), Put32(b, 2, static_cast<uint32_t>(b.size()));
       }, false},
      {"top-down", 7, 3, 24, [](Bytes& b) { Put32(b, 22, static_cast<uint32_t>(-3)); }, false},
      {"pixels further on", 5, 4, 24, [](Bytes& b) { b.insert(b.begin() + 54, 8, 0xAB), Put32(b, 10, 62); }, false},
      {"last row missing", 7, 3, 24, [](Bytes& b) { b.resize(b.size() - 24); }, true},
      {"32 bits", 6, 4, 32, [](Bytes&) {}, false},
  };
  const testing::ScratchDir dir;
  const std::string file = dir / "frame.bmp";
  for (const auto& [name, width, height, bpp, change, refused] : variants) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(testing::WriteTestBmp(file, width, height, bpp,
                                      [](int x, int y) { return static_cast<uint32_t>(x * 0x10305 + y * 0x70B01); }));
    Bytes bytes = testing::ReadFileBytes(file);
    change(bytes);
    testing::WriteFileBytes(file, bytes);
    const platform::FreeImageBitmap expected(FreeImage_Load(FIF_BMP, file.c_str(), 0));
    gdi::HBITMAP loaded = gdi::LoadImageA(nullptr, file.c_str(), gdi::IMAGE_BITMAP, 0, 0, gdi::LR_LOADFROMFILE);
    ASSERT_EQ(loaded != nullptr, expected != nullptr && !refused);
    if (!loaded) continue;
    ASSERT_EQ(std::vector<int64_t>({loaded->bpp(), loaded->width(), loaded->height()}),
              std::vector<int64_t>({FreeImage_GetBPP(expected.get()), FreeImage_GetWidth(expected.get()), FreeImage_GetHeight(expected.get())}));
    for (int32_t y = 0; y < loaded->height(); ++y) {  // memory row y of both is picture row y from the bottom
      EXPECT_EQ(std::memcmp(loaded->bits() + int64_t{y} * loaded->stride(), FreeImage_GetScanLine(expected.get(), y),
                            static_cast<size_t>(loaded->width() * bpp / 8)), 0) << "row " << y;
    }
    gdi::DeleteObject(loaded);
  }
}

}  // namespace
}  // namespace velkor
