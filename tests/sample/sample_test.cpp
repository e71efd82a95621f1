#include <FreeImage.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "sample/DeviceScreen.h"
#include "sample/PixelFont.h"

namespace fs = std::filesystem;
using namespace velkor::sample;

namespace {

// A scratch folder of its own under the test temp folder, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    std::string templ = testing::TempDir() + "/velkor-sample-XXXXXX";
    if (mkdtemp(templ.data()) != nullptr) path_ = templ;
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string MakeRegularFile(const std::string& dir) {
  const std::string file = dir + "/plain-file";
  std::ofstream(file) << "not a folder";
  return file;
}

// Reads a BMP back through FreeImage; empty when it is not a 24-bit picture.
RgbImage LoadBmp24(const std::string& path) {
  RgbImage img;
  FIBITMAP* bmp = FreeImage_Load(FIF_BMP, path.c_str(), BMP_DEFAULT);
  if (bmp == nullptr) return img;
  if (FreeImage_GetBPP(bmp) == 24) {
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

bool SameImage(const RgbImage& a, const RgbImage& b) {
  return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

}  // namespace

// ---------------------------------------------------------------- files

TEST(SaveBmp24, WritesTopRowFirstInRgbOrder) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  // Three pixels wide, so every BMP row carries padding.
  RgbImage img = MakeImage(3, 2, {});
  img.Set(0, 0, {255, 0, 0});
  img.Set(1, 0, {0, 255, 0});
  img.Set(2, 0, {0, 0, 255});
  img.Set(0, 1, {10, 20, 30});
  img.Set(2, 1, {250, 251, 252});
  const std::string path = dir.path() + "/tiny.bmp";
  std::string error;
  ASSERT_TRUE(SaveBmp24(img, path, error)) << error;
  const RgbImage back = LoadBmp24(path);
  ASSERT_EQ(back.width, 3);
  ASSERT_EQ(back.height, 2);
  EXPECT_EQ(back.rgb, img.rgb);
}

TEST(SaveBmp24, FailuresNameTheFile) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::string error;
  const std::string blocked = MakeRegularFile(dir.path()) + "/x.bmp";
  EXPECT_FALSE(SaveBmp24(MakeImage(4, 4, kKeyColour), blocked, error));
  EXPECT_NE(error.find(blocked), std::string::npos) << error;

  const std::string fine = dir.path() + "/bad.bmp";
  error.clear();
  EXPECT_FALSE(SaveBmp24(RgbImage{}, fine, error));
  EXPECT_NE(error.find(fine), std::string::npos) << error;
  RgbImage shortData = MakeImage(4, 4, kKeyColour);
  shortData.rgb.pop_back();
  error.clear();
  EXPECT_FALSE(SaveBmp24(shortData, fine, error));
  EXPECT_NE(error.find(fine), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(fine));
}

// ---------------------------------------------------------------- screen

TEST(DeviceScreen, MapRouteAndStatusBar) {
  const RgbImage img = RenderDeviceScreen();
  ASSERT_EQ(img.width, 480);
  ASSERT_EQ(img.height, 272);
  EXPECT_TRUE(SameImage(img, RenderDeviceScreen()));

  // The route runs through the icon cell's centre and on up the avenue.
  const int cx = kIconCellX + kIconCellSize / 2, cy = kIconCellY + kIconCellSize / 2;
  ASSERT_EQ(cx, 331);
  ASSERT_EQ(cy, 247);
  for (int y : {cy, kScreenHeight - 1, 215, 130}) EXPECT_EQ(img.At(cx, y), kRouteColour) << y;
  EXPECT_FALSE(img.At(cx - 20, cy) == kRouteColour);

  // Status bar: dark all along its top, white read-outs, no route in it.
  for (int x : {0, 240, 479}) EXPECT_EQ(img.At(x, 0), kStatusBarColour);
  int textPixels = 0, routeInBar = 0, distinct = 0;
  for (int y = 0; y < kStatusBarHeight; ++y) {
    for (int x = 0; x < 70; ++x) textPixels += img.At(x, y) == kStatusTextColour;
    for (int x = 0; x < kScreenWidth; ++x) routeInBar += img.At(x, y) == kRouteColour;
  }
  EXPECT_GT(textPixels, 100);
  EXPECT_EQ(routeInBar, 0);
  // The map below is more than a flat fill: land, roads, water, park...
  const Rgb probes[] = {img.At(40, 220), img.At(400, 70), img.At(150, 250), img.At(100, 121)};
  for (size_t i = 0; i < std::size(probes); ++i) {
    for (size_t j = i + 1; j < std::size(probes); ++j) distinct += !(probes[i] == probes[j]);
  }
  EXPECT_EQ(distinct, 6);
}

TEST(DeviceScreen, WritesA24BitBmpOrNamesTheFile) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::string error;
  const std::string path = dir.path() + "/Garmin760.bmp";
  ASSERT_TRUE(WriteDeviceScreen(path, error)) << error;
  EXPECT_TRUE(SameImage(LoadBmp24(path), RenderDeviceScreen()));

  const std::string blocked = MakeRegularFile(dir.path()) + "/screen.bmp";
  EXPECT_FALSE(WriteDeviceScreen(blocked, error));
  EXPECT_NE(error.find(blocked), std::string::npos) << error;
}

TEST(PixelFont, WidthsAndDots) {
  EXPECT_EQ(TextWidth("", 2), 0);
  EXPECT_EQ(TextWidth("1", 1), kGlyphWidth);
  EXPECT_EQ(TextWidth("12:34", 2), 5 * 12 - 2);
  RgbImage img = MakeImage(8, 9, {0, 0, 0});
  DrawText(img, 1, 1, "1", 1, {255, 255, 255});
  // '1' has its stem in the middle column and a full-width-ish foot.
  for (int y = 1; y <= 7; ++y) EXPECT_EQ(img.At(3, y), (Rgb{255, 255, 255})) << y;
  EXPECT_EQ(img.At(1, 1), (Rgb{0, 0, 0}));
  EXPECT_EQ(img.At(2, 7), (Rgb{255, 255, 255}));
  EXPECT_EQ(img.At(5, 7), (Rgb{0, 0, 0}));
  // Dots hanging off the picture are dropped; the rest still lands.
  DrawText(img, -6, 0, "1", 3, {1, 2, 3});
  EXPECT_EQ(img.At(0, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(img.At(2, 8), (Rgb{1, 2, 3}));
  EXPECT_EQ(img.At(3, 1), (Rgb{255, 255, 255}));
}
