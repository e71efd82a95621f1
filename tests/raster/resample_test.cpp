// Bilinear resampling: exact bytes at the edges, the rounding of each stage,
// and the failure paths.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "common/VbError.h"
#include "platform/Gdi.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {
namespace {

using Pixel = std::array<uint8_t, 4>;  // B, G, R, A

// A raster whose memory row r holds rows[r] (memory row 0 is the picture's
// bottom row).
std::unique_ptr<cAlphaDibSection> RasterOf(const std::vector<std::vector<Pixel>>& rows) {
  auto raster = std::make_unique<cAlphaDibSection>();
  const int32_t width = static_cast<int32_t>(rows.at(0).size());
  EXPECT_TRUE(raster->Create(width, static_cast<int32_t>(rows.size())));
  for (size_t r = 0; r < rows.size(); ++r) {
    std::memcpy(raster->DIBSectionBitsPtr() + r * raster->BytesPerScanLine(), rows[r].data(),
                4 * rows[r].size());
  }
  return raster;
}

Pixel At(const cAlphaDibSection& raster, int32_t x, int32_t memoryRow) {
  Pixel p;
  std::memcpy(p.data(), raster.DIBSectionBitsPtr() + memoryRow * raster.BytesPerScanLine() + 4 * x, 4);
  return p;
}

std::vector<uint8_t> ByteRow(const cAlphaDibSection& raster, int32_t memoryRow, int channel) {
  std::vector<uint8_t> values;
  for (int32_t x = 0; x < raster.Width(); ++x) values.push_back(At(raster, x, memoryRow)[channel]);
  return values;
}

Pixel Blue(uint8_t b) { return Pixel{b, 0, 0, 0}; }

TEST(Resample, SameSizeIsAByteIdenticalCopyAlphaIncluded) {
  std::vector<std::vector<Pixel>> rows(3, std::vector<Pixel>(5));
  for (int r = 0; r < 3; ++r)
    for (int x = 0; x < 5; ++x)
      rows[r][x] = Pixel{static_cast<uint8_t>(10 * x + r), static_cast<uint8_t>(200 - x),
                         static_cast<uint8_t>(r), static_cast<uint8_t>(17 * x + 50 * r)};
  const auto source = RasterOf(rows);
  const auto copy = source->Resample(3, 5);
  ASSERT_TRUE(copy);
  ASSERT_EQ(copy->Width(), 5);
  ASSERT_EQ(copy->Height(), 3);
  EXPECT_EQ(std::memcmp(copy->DIBSectionBitsPtr(), source->DIBSectionBitsPtr(), 3 * 5 * 4), 0);
  EXPECT_NE(copy->DIBSectionBitsPtr(), source->DIBSectionBitsPtr());
}

struct RampCase {
  const char* name;
  uint8_t left, right;
  std::vector<uint8_t> expected;
};

// 2 x 2 sources whose rows are both (left, right), widened to 4: xs = 1/4, so
// the columns sample 0, 0.25, 0.5 and 0.75 of the way; the right value is
// never reached.
TEST(Resample, WideningSamplesAQuarterStepAndRoundsTiesToEven) {
  const std::vector<RampCase> cases = {
      {"0 to 100", 0, 100, {0, 25, 50, 75}},
      {"0 to 5: 1.25, 2.5 (tie to 2), 3.75", 0, 5, {0, 1, 2, 4}},
  };
  for (const RampCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto source = RasterOf({{Blue(c.left), Blue(c.right)}, {Blue(c.left), Blue(c.right)}});
    const auto result = source->Resample(2, 4);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->Width(), 4);
    ASSERT_EQ(result->Height(), 2);
    EXPECT_EQ(ByteRow(*result, 0, 0), c.expected);
    EXPECT_EQ(ByteRow(*result, 1, 0), c.expected);
  }
}

TEST(Resample, AlphaIsInterpolatedBetweenRowsLikeTheColours) {
  const auto source =
      RasterOf({{Pixel{0, 0, 0, 0}, Pixel{0, 0, 0, 0}}, {Pixel{0, 0, 0, 200}, Pixel{0, 0, 0, 200}}});
  const auto result = source->Resample(4, 2);
  ASSERT_TRUE(result);
  const uint8_t expected[4] = {0, 50, 100, 150};
  for (int32_t row = 0; row < 4; ++row) {
    EXPECT_EQ(At(*result, 0, row)[3], expected[row]) << "memory row " << row;
    EXPECT_EQ(At(*result, 1, row)[3], expected[row]) << "memory row " << row;
  }
}

TEST(Resample, TheFourBytesAreInterpolatedIndependently) {
  const auto source = RasterOf(
      {{Pixel{0, 100, 200, 40}, Pixel{100, 0, 0, 80}}, {Pixel{0, 100, 200, 40}, Pixel{100, 0, 0, 80}}});
  const auto result = source->Resample(2, 4);
  ASSERT_TRUE(result);
  EXPECT_EQ(At(*result, 1, 0), (Pixel{25, 75, 150, 50}));
  EXPECT_EQ(At(*result, 3, 1), (Pixel{75, 25, 50, 70}));
}

// Vertical interpolation is rounded on each side before the horizontal one:
// at the centre of a 2 x 2 source with rows (0, 3) and (1, 2) the left side
// is round(0.5) = 0 and the right round(2.5) = 2, giving 1, where the plain
// mean of the four would round to 2.
TEST(Resample, EachSideIsRoundedBeforeTheHorizontalStep) {
  const auto source = RasterOf({{Blue(0), Blue(3)}, {Blue(1), Blue(2)}});
  const auto result = source->Resample(4, 4);
  ASSERT_TRUE(result);
  EXPECT_EQ(At(*result, 2, 2)[0], 1);
}

TEST(Resample, TheBottomLeftPixelIsKeptAndTheLastColumnFallsShortOfTheSource) {
  // 3 x 2 source, columns 0, 100, 200; memory row 1 (the top row) differs.
  const auto source = RasterOf({{Blue(0), Blue(100), Blue(200)}, {Blue(7), Blue(7), Blue(7)}});
  const auto result = source->Resample(2, 4);  // xs = 2/4, ys = 1/2
  ASSERT_TRUE(result);
  EXPECT_EQ(ByteRow(*result, 0, 0), (std::vector<uint8_t>{0, 50, 100, 150}));
  // Memory row 1 samples half way up: (0 + 7) / 2 = 3.5 rounds to 4, (100 + 7) / 2
  // to 54 (tie to even), then the horizontal step between them.
  EXPECT_EQ(ByteRow(*result, 1, 0), (std::vector<uint8_t>{4, 29, 54, 79}));
}

std::unique_ptr<cAlphaDibSection> HorizontalRamp(int32_t width, uint8_t (*value)(int32_t)) {
  std::vector<Pixel> row;
  for (int32_t x = 0; x < width; ++x) row.push_back(Blue(value(x)));
  return RasterOf({row, row});
}

// Reducing 100 columns to 10: column k samples source column 9.9 k (in single
// precision) between its two neighbours only.
TEST(Resample, ShrinkingARampReadsOnlyTheSampledColumns) {
  const auto ramp = HorizontalRamp(100, [](int32_t x) { return static_cast<uint8_t>(2 * x); });
  const auto result = ramp->Resample(2, 10);
  ASSERT_TRUE(result);
  EXPECT_EQ(ByteRow(*result, 0, 0), (std::vector<uint8_t>{0, 20, 40, 59, 79, 99, 119, 139, 158, 178}));

  // Bright columns 2 to 8 lie between the samples at 0 (columns 0, 1) and
  // 9.9 (columns 9, 10): nothing of them shows.
  const auto spikes =
      HorizontalRamp(100, [](int32_t x) { return static_cast<uint8_t>(x >= 2 && x <= 8 ? 255 : 0); });
  const auto reduced = spikes->Resample(2, 10);
  ASSERT_TRUE(reduced);
  EXPECT_EQ(ByteRow(*reduced, 0, 0), std::vector<uint8_t>(10, 0));
}

TEST(Resample, ASourceOnePixelAcrossAskedForAnotherSizeRaisesError9) {
  const struct {
    const char* name;
    int32_t width, height, newWidth, newHeight;
  } cases[] = {
      {"1 wide to width 2", 1, 3, 2, 3},
      {"1 wide, height changed", 1, 3, 1, 5},
      {"1 high to height 2", 3, 1, 3, 2},
      {"1 x 1 to 2 x 2", 1, 1, 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    cAlphaDibSection source;
    ASSERT_TRUE(source.Create(c.width, c.height));
    try {
      (void)source.Resample(c.newHeight, c.newWidth);
      ADD_FAILURE() << "no error raised";
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), 9);
    }
  }
}

TEST(Resample, AOnePixelSourceAtItsOwnSizeIsCopied) {
  const auto source = RasterOf({{Pixel{1, 2, 3, 4}}});
  const auto copy = source->Resample(1, 1);
  ASSERT_TRUE(copy);
  EXPECT_EQ(At(*copy, 0, 0), (Pixel{1, 2, 3, 4}));
}

TEST(Resample, AnEmptySourceOrARefusedRasterGivesNoneAndLeavesTheSource) {
  cAlphaDibSection empty;
  EXPECT_EQ(empty.Resample(2, 2), nullptr);

  const auto source = RasterOf({{Blue(9), Blue(8)}, {Blue(7), Blue(6)}});
  gdi::testing::FailNextDibSections(1);
  EXPECT_EQ(source->Resample(4, 4), nullptr);
  EXPECT_EQ(source->Width(), 2);
  EXPECT_EQ(At(*source, 1, 1), Blue(6));
  EXPECT_EQ(source->Resample(0, 4), nullptr);  // no raster of no rows
}

}  // namespace
}  // namespace velkor
