// The sample's device screen and the BMP writer and pixel font behind it.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "sample/DeviceScreen.h"
#include "sample/PixelFont.h"
#include "support/TestFiles.h"

namespace velkor::sample {
namespace {

// Three pixels wide, so that every BMP row is padded; failures name the file
// and leave none.
TEST(SaveBmp24, WritesTheRowsInOrderOrNamesTheFile) {
  testing::ScratchDir dir;
  RgbImage img = MakeImage(3, 2, {});
  for (const auto& [x, y, c] : {std::tuple{0, 0, Rgb{255, 0, 0}}, {2, 0, Rgb{0, 0, 255}}, {0, 1, Rgb{10, 20, 30}}})
    img.Set(x, y, c);
  std::string error;
  ASSERT_TRUE(SaveBmp24(img, dir / "tiny.bmp", error)) << error;
  const testing::BmpRgb back = testing::ReadBmpRgb(dir / "tiny.bmp");
  EXPECT_TRUE(back.width == 3 && back.height == 2 && back.bpp == 24 && back.rgb == img.rgb);
  testing::WriteFileBytes(dir / "file", {1});
  RgbImage shortData = MakeImage(4, 4, kLandColour);
  shortData.rgb.pop_back();
  for (const auto& [image, path] : {std::pair{MakeImage(4, 4, kLandColour), dir / "file/x.bmp"},
                                    {RgbImage{}, dir / "bad.bmp"},
                                    {shortData, dir / "bad.bmp"}}) {
    error.clear();
    EXPECT_FALSE(SaveBmp24(image, path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "bad.bmp"));
  EXPECT_FALSE(WriteDeviceScreen(dir / "file/screen.bmp", error));
  EXPECT_NE(error.find(dir / "file/screen.bmp"), std::string::npos) << error;
}

// The screen pixel for pixel (map, the route from the icon cell's centre, status bar and its pixel-font
// read-outs) by an FNV-1a digest of its rows; written as a 24-bit BMP. Text
// may start off the picture.
TEST(DeviceScreen, IsThePictureRecordedWrittenAsA24BitBmp) {
  const RgbImage img = RenderDeviceScreen();
  uint64_t digest = 1469598103934665603u;
  for (uint8_t byte : img.rgb) digest = (digest ^ byte) * 1099511628211u;
  EXPECT_EQ(std::make_tuple(img.width, img.height, digest), std::make_tuple(480, 272, uint64_t{10063921290693748746u}));
  testing::ScratchDir dir;
  std::string error;
  ASSERT_TRUE(WriteDeviceScreen(dir / "Garmin760.bmp", error)) << error;
  const testing::BmpRgb written = testing::ReadBmpRgb(dir / "Garmin760.bmp");
  EXPECT_EQ(std::pair(written.bpp, written.rgb), std::pair(24, img.rgb));
  RgbImage small = MakeImage(8, 9, {});
  DrawText(small, -6, 0, "1", 3, {1, 2, 3});  // dots off the picture are dropped, the rest lands
  EXPECT_TRUE(small.At(0, 0) == (Rgb{1, 2, 3}) && small.At(2, 8) == (Rgb{1, 2, 3}) && small.At(3, 1) == Rgb{});
  EXPECT_EQ(TextWidth("", 2), 0);
}

}  // namespace
}  // namespace velkor::sample
