// The sample's device screen and the BMP writer and pixel font behind it.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "sample/DeviceScreen.h"
#include "sample/PixelFont.h"
#include "support/TestFiles.h"

namespace velkor::sample {
namespace {

// A BMP read back through FreeImage; empty unless it is a 24-bit picture.
RgbImage LoadBmp24(const std::string& path) {
  RgbImage img;
  FIBITMAP* bmp = FreeImage_Load(FIF_BMP, path.c_str(), BMP_DEFAULT);
  if (bmp && FreeImage_GetBPP(bmp) == 24) {
    img = MakeImage(static_cast<int>(FreeImage_GetWidth(bmp)), static_cast<int>(FreeImage_GetHeight(bmp)), {});
    for (int y = 0; y < img.height; ++y) {
      for (int x = 0; x < img.width; ++x) {
        RGBQUAD q;
        FreeImage_GetPixelColor(bmp, x, img.height - 1 - y, &q);
        img.Set(x, y, Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue});
      }
    }
  }
  FreeImage_Unload(bmp);
  return img;
}

// Three pixels wide, so that every BMP row is padded; failures name the file
// and leave none.
TEST(SaveBmp24, WritesTheRowsInOrderOrNamesTheFile) {
  testing::ScratchDir dir;
  RgbImage img = MakeImage(3, 2, {});
  for (const auto& [x, y, c] : {std::tuple{0, 0, Rgb{255, 0, 0}}, {2, 0, Rgb{0, 0, 255}}, {0, 1, Rgb{10, 20, 30}}}) img.Set(x, y, c);
  std::string error;
  ASSERT_TRUE(SaveBmp24(img, dir / "tiny.bmp", error)) << error;
  const RgbImage back = LoadBmp24(dir / "tiny.bmp");
  EXPECT_TRUE(back.width == 3 && back.height == 2 && back.rgb == img.rgb);
  testing::WriteFileBytes(dir / "file", {1});
  RgbImage shortData = MakeImage(4, 4, kLandColour);
  shortData.rgb.pop_back();
  for (const auto& [image, path] : {std::pair{MakeImage(4, 4, kLandColour), dir / "file/x.bmp"},
                                    {RgbImage{}, dir / "bad.bmp"}, {shortData, dir / "bad.bmp"}}) {
    error.clear();
    EXPECT_FALSE(SaveBmp24(image, path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "bad.bmp"));
  EXPECT_FALSE(WriteDeviceScreen(dir / "file/screen.bmp", error));
  EXPECT_NE(error.find(dir / "file/screen.bmp"), std::string::npos) << error;
}

// The route runs through the icon cell's centre and on up the avenue; the
// status bar is dark with white read-outs and no route; the map is more than
// a flat fill (land, roads, water, park).
TEST(DeviceScreen, MapRouteAndStatusBarWrittenAsA24BitBmp) {
  const RgbImage img = RenderDeviceScreen();
  ASSERT_EQ(img.width * 1000 + img.height, 480272);
  for (int y : {247, kScreenHeight - 1, 215, 130}) EXPECT_EQ(img.At(331, y), kRouteColour) << y;
  EXPECT_FALSE(img.At(311, 247) == kRouteColour);
  EXPECT_TRUE(img.At(0, 0) == kStatusBarColour && img.At(240, 0) == kStatusBarColour && img.At(479, 0) == kStatusBarColour);
  int textPixels = 0, routeInBar = 0, distinct = 0;
  for (int i = 0; i < kStatusBarHeight * kScreenWidth; ++i) {
    textPixels += i % kScreenWidth < 70 && img.At(i % kScreenWidth, i / kScreenWidth) == kStatusTextColour;
    routeInBar += img.At(i % kScreenWidth, i / kScreenWidth) == kRouteColour;
  }
  EXPECT_TRUE(textPixels > 100 && routeInBar == 0) << textPixels << " " << routeInBar;
  const Rgb probes[] = {img.At(40, 220), img.At(400, 70), img.At(150, 250), img.At(100, 121)};
  for (size_t i = 0; i < 4; ++i)
    for (size_t j = i + 1; j < 4; ++j) distinct += !(probes[i] == probes[j]);
  EXPECT_EQ(distinct, 6);
  testing::ScratchDir dir;
  std::string error;
  ASSERT_TRUE(WriteDeviceScreen(dir / "Garmin760.bmp", error)) << error;
  EXPECT_EQ(LoadBmp24(dir / "Garmin760.bmp").rgb, img.rgb);
}

TEST(PixelFont, WidthsAndDots) {
  EXPECT_EQ(std::make_tuple(TextWidth("", 2), TextWidth("1", 1), TextWidth("12:34", 2)), std::make_tuple(0, kGlyphWidth, 58));
  RgbImage img = MakeImage(8, 9, {0, 0, 0});
  DrawText(img, 1, 1, "1", 1, {255, 255, 255});  // the stem in the middle column, a wide foot
  for (int y = 1; y <= 7; ++y) EXPECT_EQ(img.At(3, y), (Rgb{255, 255, 255})) << y;
  EXPECT_TRUE(img.At(1, 1) == (Rgb{0, 0, 0}) && img.At(2, 7) == (Rgb{255, 255, 255}) && img.At(5, 7) == (Rgb{0, 0, 0}));
  DrawText(img, -6, 0, "1", 3, {1, 2, 3});  // dots off the picture are dropped, the rest lands
  EXPECT_TRUE(img.At(0, 0) == (Rgb{1, 2, 3}) && img.At(2, 8) == (Rgb{1, 2, 3}) && img.At(3, 1) == (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace velkor::sample
