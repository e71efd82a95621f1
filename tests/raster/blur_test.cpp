// Blur and UnsharpMask: the neighbourhood at corners, edges and inside, the
// rounding, the clamping and the failure paths.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "common/VbError.h"
#include "platform/Gdi.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {
namespace {

std::unique_ptr<cAlphaDibSection> Uniform(int32_t width, int32_t height, uint8_t value) {
  auto raster = std::make_unique<cAlphaDibSection>();
  EXPECT_TRUE(raster->Create(width, height));
  std::memset(raster->DIBSectionBitsPtr(), value, static_cast<size_t>(width) * height * 4);
  return raster;
}

uint8_t& Byte(const cAlphaDibSection& raster, int32_t x, int32_t memoryRow, int channel) {
  return raster.DIBSectionBitsPtr()[memoryRow * raster.BytesPerScanLine() + 4 * x + channel];
}

// Expects every byte of every pixel to be `inside`, `edge` or `corner` by
// where the pixel lies.
void ExpectByPlace(const cAlphaDibSection& r, uint8_t inside, uint8_t edge, uint8_t corner) {
  for (int32_t y = 0; y < r.Height(); ++y) {
    for (int32_t x = 0; x < r.Width(); ++x) {
      const int borders = (x == 0 || x == r.Width() - 1) + (y == 0 || y == r.Height() - 1);
      const uint8_t expected = borders == 0 ? inside : (borders == 1 ? edge : corner);
      for (int c = 0; c < 4; ++c) {
        ASSERT_EQ(Byte(r, x, y, c), expected) << "x " << x << " row " << y << " byte " << c;
      }
    }
  }
}

struct UniformCase {
  uint8_t value;
  uint8_t inside, edge, corner;
};

TEST(Blur, UniformRastersWithWeightsOneAndOne) {
  // (8 * 255 / 9 + 255) / 2 = 240.83, (5 * 255 / 6 + 255) / 2 = 233.75,
  // (3 * 255 / 4 + 255) / 2 = 223.125; for 100: 94.4, 91.7, 87.5 (tie to 88).
  for (const UniformCase& c : {UniformCase{255, 241, 234, 223}, UniformCase{100, 94, 92, 88}}) {
    SCOPED_TRACE(static_cast<int>(c.value));
    const auto source = Uniform(5, 4, c.value);
    const auto blurred = source->Blur(1, 1);
    ASSERT_TRUE(blurred);
    ExpectByPlace(*blurred, c.inside, c.edge, c.corner);
    ExpectByPlace(*source, c.value, c.value, c.value);  // unchanged
  }
}

TEST(UnsharpMask, UniformRastersAreTwiceTheImageLessItsBlur) {
  // 255s: 269, 276 and 287 before clamping.
  for (const UniformCase& c : {UniformCase{100, 106, 108, 112}, UniformCase{255, 255, 255, 255}}) {
    SCOPED_TRACE(static_cast<int>(c.value));
    const auto sharpened = Uniform(5, 4, c.value)->UnsharpMask();
    ASSERT_TRUE(sharpened);
    ExpectByPlace(*sharpened, c.inside, c.edge, c.corner);
  }
}

TEST(Blur, ALoneWhitePixelSpreadsToItsEightNeighboursOnly) {
  const auto source = Uniform(7, 7, 0);
  for (int c = 0; c < 4; ++c) Byte(*source, 3, 3, c) = 255;
  const auto blurred = source->Blur(1, 1);
  ASSERT_TRUE(blurred);
  for (int32_t y = 0; y < 7; ++y) {
    for (int32_t x = 0; x < 7; ++x) {
      const bool centre = x == 3 && y == 3;
      const bool neighbour = !centre && x >= 2 && x <= 4 && y >= 2 && y <= 4;
      // 127.5 ties to 128; (255 / 9) / 2 = 14.17.
      const uint8_t expected = centre ? 128 : (neighbour ? 14 : 0);
      for (int c = 0; c < 4; ++c) ASSERT_EQ(Byte(*blurred, x, y, c), expected) << x << "," << y;
    }
  }
}

// A 3 x 2 raster (blue bytes; memory row 0 = 10 20 30, row 1 = 40 50 60):
// every pixel is a corner or on an edge, so each includes exactly the
// neighbours that exist.
TEST(Blur, EdgePixelsIncludeOnlyTheNeighboursThatExist) {
  auto source = Uniform(3, 2, 0);
  const uint8_t values[2][3] = {{10, 20, 30}, {40, 50, 60}};
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) Byte(*source, x, y, 0) = values[y][x];
  const struct {
    const char* name;
    float centreWeight, strength;
    uint8_t expected[2][3];
  } cases[] = {
      // (0,0): (110/4 + 10)/2 = 18.75; (1,0): (190/6 + 20)/2 = 25.83;
      // (2,1): (100/4 + 60)/2 = 42.5, tie to 42; (0,1): (80/4 + 40)/2 = 30.
      {"weights 1, 1", 1, 1, {{19, 26, 31}, {30, 38, 42}}},
      // (1,0): (190/12 + 40)/2 = 27.92; (2,1): (100/8 + 120)/2 = 66.25.
      {"centre weight 0.5, strength 2", 0.5f, 2, {{17, 28, 38}, {45, 57, 66}}},
      // Negative results clamp to 0, never wrap: (1,0): (-190/6 + 20)/2 < 0;
      // (2,1): (-100/4 + 60)/2 = 17.5, tie to 18.
      {"strength -1", 1, -1, {{0, 0, 0}, {10, 12, 18}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto blurred = source->Blur(c.centreWeight, c.strength);
    ASSERT_TRUE(blurred);
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(Byte(*blurred, x, y, 0), c.expected[y][x]) << x << "," << y;
  }
}

TEST(Blur, LargeResultsClampTo255) {
  const auto blurred = Uniform(3, 3, 200)->Blur(0.25f, 1);  // (.. + 800) / 2
  ASSERT_TRUE(blurred);
  ExpectByPlace(*blurred, 255, 255, 255);
}

TEST(Blur, AOnePixelRasterHasNoNeighbours) {
  // n = 1 and the sum is 0: Blur gives round(p / weight / 2), UnsharpMask
  // 2p - round(p / 2), clamped.
  const struct {
    uint8_t p;
    float centreWeight;
    uint8_t blurred, sharpened;
  } cases[] = {{200, 1, 100, 255}, {5, 1, 2, 8}, {7, 1, 4, 10}, {200, 2, 50, 255}, {60, 1, 30, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.p));
    const auto source = Uniform(1, 1, c.p);
    const auto blurred = source->Blur(c.centreWeight, 1);
    ASSERT_TRUE(blurred);
    EXPECT_EQ(Byte(*blurred, 0, 0, 2), c.blurred);
    const auto sharpened = source->UnsharpMask();
    ASSERT_TRUE(sharpened);
    EXPECT_EQ(Byte(*sharpened, 0, 0, 3), c.sharpened);
  }
}

TEST(Blur, AZeroWeightOrStrengthRaisesDivisionByZero) {
  const auto source = Uniform(3, 3, 50);
  for (const auto& [weight, strength] : {std::pair{0.0f, 1.0f}, std::pair{1.0f, 0.0f}}) {
    try {
      (void)source->Blur(weight, strength);
      ADD_FAILURE() << "no error for " << weight << ", " << strength;
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), 11);
    }
  }
  ExpectByPlace(*source, 50, 50, 50);
}

TEST(Blur, EmptyOrRefusedRastersGiveNone) {
  cAlphaDibSection empty;
  EXPECT_EQ(empty.Blur(1, 1), nullptr);
  EXPECT_EQ(empty.UnsharpMask(), nullptr);
  const auto source = Uniform(4, 4, 9);
  gdi::testing::FailNextDibSections(1);
  EXPECT_EQ(source->Blur(1, 1), nullptr);
  gdi::testing::FailNextDibSections(1);
  EXPECT_EQ(source->UnsharpMask(), nullptr);
  ExpectByPlace(*source, 9, 9, 9);
}

}  // namespace
}  // namespace velkor
