// The resampler's fast paths must give the bytes of the plain one: the AVX2
// row (with its shortcut for flat neighbourhoods) against the baseline row,
// and several steps computed at once against the steps one after the other
// (reductions by more and less than 2, enlargements, a step to the same
// size, sizes large enough for two threads).
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "raster/ResampleKernel.h"
#include "raster/ResampleSteps.h"

namespace velkor {
namespace {

std::unique_ptr<cAlphaDibSection> Noise(int32_t width, int32_t height) {
  auto raster = std::make_unique<cAlphaDibSection>();
  EXPECT_TRUE(raster->Create(width, height));
  std::mt19937 random(width * 7919 + height);
  uint8_t* bits = raster->DIBSectionBitsPtr();
  for (int64_t i = 0; i < int64_t{4} * width * height; ++i) bits[i] = static_cast<uint8_t>(random() >> 7);
  return raster;
}

TEST(ResampleRow, Avx2GivesTheBaselineBytes) {
  if (!resample::HaveAvx2()) GTEST_SKIP() << "no AVX2 here";
  std::mt19937 random(7);
  const int32_t width = 257;
  // Runs of one pixel, runs of one byte value, and noise.
  std::vector<uint8_t> lower(4 * width), upper(4 * width);
  for (int32_t i = 0; i < width; ++i)
    for (int c = 0; c < 4; ++c) {
      lower[4 * i + c] = i < 90 ? 40 + c : static_cast<uint8_t>(i < 170 ? 255 * (i & 1) : random());
      upper[4 * i + c] = i < 60 || (i >= 90 && i < 130) ? lower[4 * i + c] : static_cast<uint8_t>(random());
    }
  // Fractions far below a byte's precision as well as ordinary ones.
  for (const double dy : {0.0, 0.5, 0.25, 0.3f * 1.0, 0x1p-46, 0x1.fffffep-1}) {
    for (int32_t destination : {3, 100, 200, 256, 900}) {
      std::vector<resample::SamplePoint> columns = resample::SamplePoints(width, destination);
      columns[1].fraction = 0x1p-47;
      std::vector<uint8_t> fast(4 * destination), plain(4 * destination);
      resample::ResampleRowAvx2(lower.data(), upper.data(), dy, columns, fast.data());
      resample::ResampleRowBaseline(lower.data(), upper.data(), dy, columns, plain.data());
      EXPECT_EQ(fast, plain) << dy << " " << destination;
    }
  }
}

TEST(ResampleInSteps, GivesWhatTheStepsGiveOneAfterTheOther) {
  const std::vector<std::pair<StepSize, std::vector<StepSize>>> cases = {
      {{1440, 75}, {{1152, 60}, {864, 45}, {576, 30}, {288, 15}}},
      {{40, 30}, {{40, 30}, {9, 5}, {9, 5}, {31, 44}}},
      {{2400, 900}, {{1800, 700}, {600, 200}, {601, 201}}},
      {{5, 3}, {{2, 2}}},
      {{5, 3}, {{5, 2}, {2, 2}, {2, 2}}},  // one side kept is no copy; the last step a copy
  };
  for (const auto& [start, steps] : cases) {
    const auto source = Noise(start.width, start.height);
    std::unique_ptr<cAlphaDibSection> expected = source->Resample(start.height, start.width);
    for (const StepSize& size : steps) expected = expected->Resample(size.height, size.width);
    const auto got = ResampleInSteps(*source, steps);
    ASSERT_TRUE(got);
    ASSERT_EQ(std::pair(got->Width(), got->Height()), std::pair(steps.back().width, steps.back().height));
    const size_t bytes = size_t{4} * got->Width() * got->Height();
    EXPECT_EQ(0, std::memcmp(got->DIBSectionBitsPtr(), expected->DIBSectionBitsPtr(), bytes)) << start.width;
  }
}

TEST(ResampleInSteps, RefusesWhatResampleRefuses) {
  EXPECT_FALSE(ResampleInSteps(cAlphaDibSection(), {{2, 2}}));
  EXPECT_FALSE(ResampleInSteps(*Noise(4, 4), {}));
  EXPECT_ANY_THROW(ResampleInSteps(*Noise(4, 4), {{3, 1}, {2, 2}}));
}

}  // namespace
}  // namespace velkor
