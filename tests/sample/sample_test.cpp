#include <FreeImage.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "sample/CarModel.h"
#include "sample/DeviceScreen.h"
#include "sample/PixelFont.h"
#include "sample/SampleVehicle.h"

namespace fs = std::filesystem;
using namespace velkor::sample;

namespace {

bool IsKey(const RgbImage& img, int x, int y) { return img.At(x, y) == kKeyColour; }

// How far green outweighs the other channels: 255 for the key colour,
// zero or below for every colour the car is painted in.
int Greenness(Rgb c) { return c.g - std::max(c.r, c.b); }

int CountColour(const RgbImage& img, Rgb colour) {
  int n = 0;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) n += img.At(x, y) == colour;
  }
  return n;
}

// Mean position of the pixels of one colour, relative to the frame centre.
struct Offset {
  double dx = 0, dy = 0;
  int count = 0;
};

Offset CentroidOf(const RgbImage& img, Rgb colour) {
  Offset o;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      if (!(img.At(x, y) == colour)) continue;
      o.dx += x - img.width / 2.0;
      o.dy += y - img.height / 2.0;
      ++o.count;
    }
  }
  if (o.count > 0) {
    o.dx /= o.count;
    o.dy /= o.count;
  }
  return o;
}

// Columns (or rows) between the first and last that hold any car pixel.
int Extent(const RgbImage& img, bool horizontal) {
  int lo = img.width, hi = -1;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      if (IsKey(img, x, y)) continue;
      const int v = horizontal ? x : y;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  return hi - lo + 1;
}

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

// ---------------------------------------------------------------- vehicle

TEST(RenderVehicle, FramesAreSquareOfTheRequestedSize) {
  for (View view : {View::Oblique3D, View::Top2D}) {
    for (int size : {1, 37, 350}) {
      const RgbImage img = RenderVehicle(view, size, 30, true);
      EXPECT_EQ(img.width, size);
      EXPECT_EQ(img.height, size);
      EXPECT_EQ(img.rgb.size(), static_cast<size_t>(size) * size * 3);
    }
    for (int size : {0, -5}) {
      const RgbImage img = RenderVehicle(view, size, 0, false);
      EXPECT_EQ(img.width, 0);
      EXPECT_TRUE(img.rgb.empty());
    }
  }
}

// The icon must never be clipped: a band round the frame stays pure key at
// every shipped heading, with the lit beams (the widest shape) included.
TEST(RenderVehicle, BorderStaysKeyAtEveryHeading) {
  constexpr int kSize = 200, kBand = kSize * 3 / 100;
  for (View view : {View::Oblique3D, View::Top2D}) {
    for (int heading = 0; heading < 360; heading += kSampleHeadingStep) {
      const RgbImage img = RenderVehicle(view, kSize, heading, true);
      int stray = 0;
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          const bool inBand = x < kBand || y < kBand || x >= kSize - kBand || y >= kSize - kBand;
          stray += inBand && !IsKey(img, x, y);
        }
      }
      EXPECT_EQ(stray, 0) << "view " << static_cast<int>(view) << " heading " << heading;
    }
  }
  // Corners of the shipped sizes, exact.
  for (int size : {350, 400, 450}) {
    const RgbImage img = RenderVehicle(View::Oblique3D, size, 45, true);
    EXPECT_TRUE(IsKey(img, 0, 0) && IsKey(img, size - 1, 0) && IsKey(img, 0, size - 1) &&
                IsKey(img, size - 1, size - 1));
  }
}

TEST(RenderVehicle, CarIsCentredAndFillsAboutTwoThirdsOfTheFrame) {
  constexpr int kSize = 400;
  const RgbImage top0 = RenderVehicle(View::Top2D, kSize, 0, false);
  const RgbImage top90 = RenderVehicle(View::Top2D, kSize, 90, false);
  const RgbImage oblique90 = RenderVehicle(View::Oblique3D, kSize, 90, false);
  for (const RgbImage* img : {&top0, &top90, &oblique90}) EXPECT_FALSE(IsKey(*img, kSize / 2, kSize / 2));
  for (int extent : {Extent(top0, false), Extent(top90, true), Extent(oblique90, true)}) {
    EXPECT_GE(extent, kSize * 60 / 100);
    EXPECT_LE(extent, kSize * 75 / 100);
  }
  // Seen from above the car is long and narrow.
  EXPECT_LT(Extent(top0, true), Extent(top0, false) / 2);
}

// Edge pixels mix car and key; inside the car nothing comes near the key,
// so keying leaves the body whole.
TEST(RenderVehicle, EdgesBlendIntoKeyButTheBodyNeverLooksLikeKey) {
  constexpr int kSize = 400;
  for (View view : {View::Oblique3D, View::Top2D}) {
    for (bool lights : {false, true}) {
      const RgbImage img = RenderVehicle(view, kSize, 30, lights);
      int blends = 0, keyLikeInside = 0;
      for (int y = 2; y < kSize - 2; ++y) {
        for (int x = 2; x < kSize - 2; ++x) {
          const Rgb c = img.At(x, y);
          if (c == kKeyColour) continue;
          bool nearKey = false;
          for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) nearKey = nearKey || IsKey(img, x + dx, y + dy);
          }
          if (Greenness(c) > 64) {
            ++blends;
            EXPECT_TRUE(nearKey) << "green-tinted pixel inside the car at " << x << "," << y;
          }
          keyLikeInside += !nearKey && Greenness(c) > 48;
        }
      }
      EXPECT_GT(blends, 200) << "edges are not anti-aliased";
      EXPECT_EQ(keyLikeInside, 0);
    }
  }
}

TEST(RenderVehicle, HeadingTurnsTheCarClockwise) {
  // Top view: the 90 degree frame is the 0 degree frame turned a quarter
  // clockwise (top edge to the right), give or take a few edge samples.
  constexpr int kSize = 350;
  const RgbImage north = RenderVehicle(View::Top2D, kSize, 0, false);
  const RgbImage east = RenderVehicle(View::Top2D, kSize, 90, false);
  int mismatched = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) mismatched += IsKey(east, x, y) != IsKey(north, y, kSize - 1 - x);
  }
  EXPECT_LT(mismatched, 40);

  // Both views: the headlight beam lies ahead, the lit tail lights behind.
  struct Expect {
    int heading;
    double fx, fy;  // unit direction the car faces on screen (y down)
  };
  for (View view : {View::Oblique3D, View::Top2D}) {
    for (Expect e : {Expect{0, 0, -1}, Expect{90, 1, 0}, Expect{180, 0, 1}, Expect{270, -1, 0}}) {
      const RgbImage img = RenderVehicle(view, 200, e.heading, true);
      const Offset beam = CentroidOf(img, kBeamEdgeColour);
      const Offset tail = CentroidOf(img, kTailLightOnColour);
      ASSERT_GT(beam.count, 0);
      EXPECT_GT(beam.dx * e.fx + beam.dy * e.fy, 25) << "heading " << e.heading;
      // Driving at the oblique camera, the car hides its own rear.
      if (view == View::Oblique3D && e.heading == 180) continue;
      ASSERT_GT(tail.count, 0);
      EXPECT_LT(tail.dx * e.fx + tail.dy * e.fy, -15) << "heading " << e.heading;
    }
  }
}

TEST(RenderVehicle, HeadingWrapsAndEveryFrameDiffers) {
  for (View view : {View::Oblique3D, View::Top2D}) {
    EXPECT_TRUE(SameImage(RenderVehicle(view, 96, 370, false), RenderVehicle(view, 96, 10, false)));
    EXPECT_TRUE(SameImage(RenderVehicle(view, 96, -90, false), RenderVehicle(view, 96, 270, false)));
    EXPECT_TRUE(SameImage(RenderVehicle(view, 96, 720, true), RenderVehicle(view, 96, 0, true)));
    RgbImage previous = RenderVehicle(view, 96, 350, false);
    for (int heading = 0; heading < 360; heading += kSampleHeadingStep) {
      const RgbImage frame = RenderVehicle(view, 96, heading, false);
      EXPECT_FALSE(SameImage(frame, previous)) << "heading " << heading;
      previous = frame;
    }
  }
}

TEST(RenderVehicle, LightsOnShowLitLampsAndBeams) {
  for (View view : {View::Oblique3D, View::Top2D}) {
    // Heading 180 shows the front to the oblique camera, 0 the rear.
    for (int heading : {0, 180}) {
      const RgbImage off = RenderVehicle(view, 400, heading, false);
      for (Rgb lit : {kHeadlightOnColour, kBeamColour, kBeamMidColour, kBeamEdgeColour, kTailLightOnColour}) {
        EXPECT_EQ(CountColour(off, lit), 0);
      }
    }
    const RgbImage front = RenderVehicle(view, 400, 180, true);
    EXPECT_GT(CountColour(front, kHeadlightOnColour), 40);
    for (Rgb beam : {kBeamColour, kBeamMidColour, kBeamEdgeColour}) EXPECT_GT(CountColour(front, beam), 300);
    EXPECT_GT(CountColour(RenderVehicle(view, 400, 0, true), kTailLightOnColour), 40);
  }
}

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

TEST(WriteSampleFrames, WritesTheWholeFolderLayout) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::string error;
  ASSERT_TRUE(WriteSampleFrames(dir.path(), error)) << error;

  const struct {
    const char* folder;
    int size;
  } sets[] = {{"Rotation", 400},           {"Rotation/Top", 350},       {"Animated/Rotation", 450},
              {"Animated/Rotation/Top", 400}, {"Animated/Animation", 450}, {"Animated/Animation/Top", 400}};
  int total = 0;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir.path())) total += e.is_regular_file();
  EXPECT_EQ(total, 216);
  for (const auto& set : sets) {
    const fs::path folder = fs::path(dir.path()) / set.folder;
    int files = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) files += e.is_regular_file();
    EXPECT_EQ(files, 36) << set.folder;
    EXPECT_TRUE(fs::exists(folder / "car0000.bmp")) << set.folder;
    EXPECT_TRUE(fs::exists(folder / "car0035.bmp")) << set.folder;
    EXPECT_FALSE(fs::exists(folder / "car0036.bmp")) << set.folder;
    const RgbImage last = LoadBmp24((folder / "car0035.bmp").string());
    EXPECT_EQ(last.width, set.size) << set.folder;
    EXPECT_EQ(last.height, set.size) << set.folder;
  }
  // Frame i is heading 10 * i, in the right view and lighting.
  EXPECT_TRUE(SameImage(LoadBmp24(dir.path() + "/Rotation/Top/car0009.bmp"),
                        RenderVehicle(View::Top2D, 350, 90, false)));
  EXPECT_TRUE(SameImage(LoadBmp24(dir.path() + "/Animated/Animation/car0018.bmp"),
                        RenderVehicle(View::Oblique3D, 450, 180, true)));
  EXPECT_TRUE(SameImage(LoadBmp24(dir.path() + "/Animated/Rotation/car0001.bmp"),
                        RenderVehicle(View::Oblique3D, 450, 10, false)));
}

TEST(WriteSampleFrames, FailuresNameThePath) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::string error;
  const std::string underFile = MakeRegularFile(dir.path()) + "/sample";
  EXPECT_FALSE(WriteSampleFrames(underFile, error));
  EXPECT_NE(error.find(underFile), std::string::npos) << error;

  // A folder squatting where a frame should go stops the run at that frame.
  const std::string target = dir.path() + "/ok";
  const std::string squatter = target + "/Rotation/Top/car0004.bmp";
  fs::create_directories(squatter);
  error.clear();
  EXPECT_FALSE(WriteSampleFrames(target, error));
  EXPECT_NE(error.find(squatter), std::string::npos) << error;
  EXPECT_TRUE(fs::exists(target + "/Rotation/Top/car0003.bmp"));
  EXPECT_FALSE(fs::exists(target + "/Animated"));
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
