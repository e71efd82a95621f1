// Resample, Blur, UnsharpMask and the sampled strip: exact bytes at edges and
// corners, the rounding of each stage, the failure paths; then every byte of
// random pictures of awkward and of large sizes (fast paths, two threads)
// against plain implementations of the same arithmetic written here; the AVX2
// row and several steps computed at once against the plain row and the steps
// one after the other.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include "common/Rounding.h"
#include "common/VbError.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "platform/ParallelFor.h"
#include "raster/ResampleKernel.h"
#include "raster/ResampleSteps.h"
#include "raster/SampledStrip.h"
#include "raster/cAlphaDibSection.h"
#include "support/Raised.h"

namespace velkor {
namespace {

using Bytes = std::vector<uint8_t>;

// A raster of `values` in memory order (bottom row first): with one value a
// pixel it is the blue byte, with four the whole pixel.
std::unique_ptr<cAlphaDibSection> RasterOf(int32_t width, int32_t height, const Bytes& values) {
  auto raster = std::make_unique<cAlphaDibSection>();
  EXPECT_TRUE(raster->Create(width, height));
  const size_t pixels = static_cast<size_t>(width) * height;
  std::memset(raster->DIBSectionBitsPtr(), 0, 4 * pixels);
  for (size_t i = 0; i < values.size(); ++i)
    raster->DIBSectionBitsPtr()[values.size() == pixels ? 4 * i : i] = values[i];
  return raster;
}

Bytes BytesOf(const cAlphaDibSection& r, int channel = -1) {
  const uint8_t* bits = r.DIBSectionBitsPtr();
  const size_t size = static_cast<size_t>(r.BytesPerScanLine()) * r.Height();
  if (channel < 0) return Bytes(bits, bits + size);
  Bytes out;
  for (size_t i = static_cast<size_t>(channel); i < size; i += 4) out.push_back(bits[i]);
  return out;
}

// Every byte of every pixel is `inside`, `edge` or `corner` by where it lies.
void ExpectByPlace(const cAlphaDibSection& r, int inside, int edge, int corner) {
  const Bytes bytes = BytesOf(r);
  for (int32_t y = 0; y < r.Height(); ++y)
    for (int32_t x = 0; x < r.Width(); ++x) {
      const int borders = (x == 0 || x == r.Width() - 1) + (y == 0 || y == r.Height() - 1);
      for (int c = 0; c < 4; ++c)
        ASSERT_EQ(bytes[4 * (y * r.Width() + x) + c], borders == 0   ? inside
                                                      : borders == 1 ? edge
                                                                     : corner)
            << "x " << x << " row " << y << " byte " << c;
    }
}

using testing::ErrorNumberOf;

TEST(Resample, ExactBlueBytes) {
  Bytes ramp, spikes;
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 100; ++x)
      ramp.push_back(static_cast<uint8_t>(2 * x)), spikes.push_back(x >= 2 && x <= 8 ? 255 : 0);
  const struct {
    const char* name;
    int32_t width, height;
    Bytes in;
    int32_t newWidth, newHeight;
    Bytes out;
  } cases[] = {
      // Widening to 4 samples 0, 1/4, 1/2 and 3/4 of the way: the right value is never reached.
      {"quarter steps", 2, 2, {0, 100, 0, 100}, 4, 2, {0, 25, 50, 75, 0, 25, 50, 75}},
      {"1.25, 2.5 (tie to 2), 3.75", 2, 2, {0, 5, 0, 5}, 4, 2, {0, 1, 2, 4, 0, 1, 2, 4}},
      // Each side is rounded before the horizontal step: the centre is 1, the mean of the four 2.
      {"sides rounded first", 2, 2, {0, 3, 1, 2}, 4, 4, {0, 1, 2, 2, 0, 1, 2, 2, 0, 0, 1, 2, 1, 1, 2, 2}},
      // Half way up: (0 + 7) / 2 = 3.5 -> 4, (100 + 7) / 2 = 53.5 -> 54.
      {"bottom-left kept, last column short", 3, 2, {0, 100, 200, 7, 7, 7}, 4, 2, {0, 50, 100, 150, 4, 29, 54, 79}},
      {"100 columns to 10: 9.9 k in single precision",
       100,
       2,
       ramp,
       10,
       1,
       {0, 20, 40, 59, 79, 99, 119, 139, 158, 178}},
      {"columns between the samples are not read", 100, 2, spikes, 10, 1, Bytes(10, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = RasterOf(c.width, c.height, c.in)->Resample(c.newHeight, c.newWidth);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->Width(), c.newWidth);
    EXPECT_EQ(BytesOf(*result, 0), c.out);
  }
}

TEST(Resample, FailurePaths) {
  // A source one pixel across has no neighbour to blend with: error 9.
  for (const auto& s :
       {std::array{1, 3, 2, 3}, std::array{1, 3, 1, 5}, std::array{3, 1, 3, 2}, std::array{1, 1, 2, 2}}) {
    cAlphaDibSection source;
    ASSERT_TRUE(source.Create(s[0], s[1]));
    EXPECT_EQ(ErrorNumberOf([&] { (void)source.Resample(s[3], s[2]); }), kErrSubscript) << s[0] << "x" << s[1];
  }
  EXPECT_EQ(cAlphaDibSection().Resample(2, 2), nullptr);
  const auto source = RasterOf(2, 2, {9, 8, 7, 6});
  gdi::testing::FailNextDibSections(1);
  EXPECT_EQ(source->Resample(4, 4), nullptr);
  EXPECT_EQ(source->Resample(0, 4), nullptr);
  EXPECT_EQ(BytesOf(*source, 0), (Bytes{9, 8, 7, 6}));
}

// UnsharpMask is twice the image less its blur: 106, 108, 112 by place; 255s
// clamp (269, 276, 287).
TEST(Blur, UnsharpMaskOfUniformRastersByPlace) {
  ExpectByPlace(*RasterOf(5, 4, Bytes(80, 100))->UnsharpMask(), 106, 108, 112);
  ExpectByPlace(*RasterOf(5, 4, Bytes(80, 255))->UnsharpMask(), 255, 255, 255);
}

// Memory row 0 = 10 20 30, row 1 = 40 50 60: every pixel is a corner or on an
// edge, and takes exactly the neighbours that exist.
TEST(Blur, EdgePixelsTakeOnlyTheNeighboursThatExist) {
  const auto source = RasterOf(3, 2, {10, 20, 30, 40, 50, 60});
  const struct {
    float centre, strength;
    Bytes expected;
  } cases[] = {
      // (0,0): (110/4 + 10)/2 = 18.75; (1,0): (190/6 + 20)/2 = 25.8; (2,1): (100/4 + 60)/2 = 42.5 -> 42.
      {1, 1, {19, 26, 31, 30, 38, 42}},
      // (1,0): (190/12 + 40)/2 = 27.9; (2,1): (100/8 + 120)/2 = 66.25.
      {0.5f, 2, {17, 28, 38, 45, 57, 66}},
      // Negative results clamp to 0, never wrap; (2,1): (-100/4 + 60)/2 = 17.5 -> 18.
      {1, -1, {0, 0, 0, 10, 12, 18}},
  };
  for (const auto& c : cases) {
    const auto blurred = source->Blur(c.centre, c.strength);
    ASSERT_TRUE(blurred);
    EXPECT_EQ(BytesOf(*blurred, 0), c.expected) << c.centre << ", " << c.strength;
  }
  // A one-pixel raster has no neighbours: Blur gives round(p / weight / 2), UnsharpMask 2p - round(p / 2).
  using Lone = std::tuple<uint8_t, float, uint8_t, uint8_t>;  // pixel, centre, blurred, sharpened
  for (const auto& [p, centre, blurred, sharpened] :
       {Lone{200, 1, 100, 255}, {5, 1, 2, 8}, {7, 1, 4, 10}, {200, 2, 50, 255}, {60, 1, 30, 90}}) {
    const auto lone = RasterOf(1, 1, Bytes(4, p));
    EXPECT_EQ(BytesOf(*lone->Blur(centre, 1), 2), Bytes{blurred}) << int{p};
    EXPECT_EQ(BytesOf(*lone->UnsharpMask(), 3), Bytes{sharpened}) << int{p};
  }
}

TEST(Blur, FailurePaths) {
  const auto source = RasterOf(3, 3, Bytes(36, 50));
  const float nan = std::nanf("");
  const struct {
    float centre, strength;
    int error;
  } cases[] = {{0, 1, kErrDivisionByZero}, {1, 0, kErrDivisionByZero}, {nan, 1, kErrOverflow}, {1, nan, kErrOverflow}};
  for (const auto& c : cases)
    EXPECT_EQ(ErrorNumberOf([&] { (void)source->Blur(c.centre, c.strength); }), c.error)
        << c.centre << ", " << c.strength;
  EXPECT_EQ(cAlphaDibSection().Blur(1, 1), nullptr);
  EXPECT_EQ(cAlphaDibSection().UnsharpMask(), nullptr);
  for (const bool sharpen : {false, true}) {
    gdi::testing::FailNextDibSections(1);
    EXPECT_EQ(sharpen ? source->UnsharpMask() : source->Blur(1, 1), nullptr) << sharpen;
  }
  ExpectByPlace(*source, 50, 50, 50);
}

// 1 x N, N x 1, 2 x 2, odd widths, and sizes large enough for two threads.
const std::vector<std::pair<int32_t, int32_t>> kSizes = {{1, 1},    {1, 7},     {7, 1},    {2, 2},    {3, 5},
                                                         {17, 9},   {31, 2},    {2, 31},   {101, 67}, {1, 1500},
                                                         {1500, 1}, {640, 480}, {999, 401}};

// Runs of 0 and 255 as well as noise, so that clamping and flat areas both occur.
std::unique_ptr<cAlphaDibSection> RandomRaster(int32_t w, int32_t h, std::mt19937& random) {
  Bytes bytes(4 * static_cast<size_t>(w) * h);
  for (auto& b : bytes) b = static_cast<uint8_t>(random() % 4 == 0 ? (random() & 1) * 255 : random());
  return RasterOf(w, h, bytes);
}

uint8_t ClampNearest(double v) { return static_cast<uint8_t>(std::nearbyint(std::clamp(v, 0.0, 255.0))); }

uint8_t ByteAt(const cAlphaDibSection& r, int32_t x, int32_t y, int c) {
  return r.DIBSectionBitsPtr()[(int64_t{y} * r.Width() + x) * 4 + c];
}

// Position (float)(scale * i), scale = (float)((source - 1) / destination);
// vertical blends first, each rounded ties-to-even, then the horizontal one.
// The same size is a copy.
Bytes ReferenceResample(const cAlphaDibSection& source, int32_t newWidth, int32_t newHeight) {
  if (newWidth == source.Width() && newHeight == source.Height()) return BytesOf(source);  // a plain copy
  const auto sample = [](int32_t s, int32_t d, int32_t i, int32_t& index, double& fraction) {
    const float position = static_cast<float>(static_cast<double>(static_cast<float>(double(s - 1) / d)) * i);
    index = static_cast<int32_t>(std::floor(position));
    fraction = static_cast<float>(position - static_cast<float>(index));
  };
  const auto vertical = [&](int32_t x, int32_t y, double dy, int c) {
    return std::nearbyint((1 - dy) * ByteAt(source, x, y, c) + dy * ByteAt(source, x, y + 1, c));
  };
  Bytes out;
  int32_t sy, sx;
  double dy, dx;
  for (int32_t y = 0; y < newHeight; ++y)
    for (int32_t x = 0; x < newWidth; ++x) {
      sample(source.Height(), newHeight, y, sy, dy), sample(source.Width(), newWidth, x, sx, dx);
      for (int c = 0; c < 4; ++c)
        out.push_back(ClampNearest((1 - dx) * vertical(sx, sy, dy, c) + dx * vertical(sx + 1, sy, dy, c)));
    }
  return out;
}

// The neighbours inside the picture, n of them with the centre:
// round((sum / CSng(n * strength) + p / centre) / 2).
Bytes ReferenceBlur(const cAlphaDibSection& source, float centre, float strength) {
  const int32_t w = source.Width(), h = source.Height();
  Bytes out;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      for (int c = 0; c < 4; ++c) {
        int32_t sum = 0, n = 1;
        for (int32_t ny = std::max(0, y - 1); ny <= std::min(h - 1, y + 1); ++ny)
          for (int32_t nx = std::max(0, x - 1); nx <= std::min(w - 1, x + 1); ++nx)
            if (nx != x || ny != y) sum += ByteAt(source, nx, ny, c), ++n;
        const double divisor = CSng(static_cast<float>(n) * static_cast<double>(strength));
        out.push_back(ClampNearest((sum / divisor + ByteAt(source, x, y, c) / double{centre}) / 2));
      }
  return out;
}

TEST(FilterIdentity, EveryByteAgreesWithThePlainArithmetic) {
  std::mt19937 random(20260515);
  for (const auto& [w, h] : kSizes) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const auto source = RandomRaster(w, h, random);
    for (const auto& [centre, strength] :
         {std::pair{1.0f, 1.0f}, std::pair{2.0f, 0.5f}, std::pair{0.3f, 3.7f}, std::pair{-1.5f, 0.9f}}) {
      EXPECT_EQ(BytesOf(*source->Blur(centre, strength)), ReferenceBlur(*source, centre, strength)) << centre;
    }
    const Bytes blurred = ReferenceBlur(*source, 1, 1), original = BytesOf(*source);
    Bytes sharpened;
    for (size_t i = 0; i < original.size(); ++i) sharpened.push_back(std::clamp(2 * original[i] - blurred[i], 0, 255));
    EXPECT_EQ(BytesOf(*source->UnsharpMask()), sharpened);
    // The same size (a copy, from any source), reductions by less than 2
    // (shared columns), by 5 (as Do All), enlargements.
    for (const auto& [tw, th] : {std::pair{w, h}, std::pair{w * 4 / 5 + 1, h * 4 / 5 + 1},
                                 std::pair{w / 5 + 1, h / 5 + 1}, std::pair{w * 2 + 1, h + 3}, std::pair{1, 1}}) {
      if ((w < 2 || h < 2) && (tw != w || th != h)) continue;  // one pixel across: nothing to blend with
      const auto resampled = source->Resample(th, tw);
      ASSERT_TRUE(resampled);
      EXPECT_NE(resampled->DIBSectionBitsPtr(), source->DIBSectionBitsPtr());
      EXPECT_EQ(BytesOf(*resampled), ReferenceResample(*source, tw, th)) << tw << "x" << th;
    }
  }
}

// The sampled strip against the full strip it stands for: the same fill and
// frame copies into a full raster, then Resample, must give every byte that
// SampledStrip::Resample gives. Frames of each depth, clipped on every side,
// bottom-up and top-down; reductions by 5 (the strip's), by less than 2,
// enlargement, and a size split into bands; the same bytes on 1, 2 and 8
// threads.
struct StripCase {
  const char* name;
  int32_t width, height, targetWidth, targetHeight;
  int bpp;                                          // depth of the frames
  int32_t frameWidth, frameHeight;                  // negative height: rows top-down
  std::vector<std::pair<int32_t, int32_t>> frames;  // left, top
  int32_t fill[4];                                  // left, top, right, bottom
};

const std::vector<StripCase> kStripCases = {
    {"strip-like", 200, 70, 40, 14, 24, 40, 40, {{0, 0}, {40, 0}, {80, 0}, {0, 40}, {40, 40}}, {1, 1, 200, 70}},
    {"clipped-32", 97, 31, 13, 5, 32, 30, 20, {{-7, -3}, {80, 20}, {50, 5}}, {1, 1, 97, 31}},
    {"palette-8", 64, 48, 9, 7, 8, 25, 25, {{3, 3}, {40, 30}}, {0, 0, 64, 48}},
    {"top-down-24", 60, 40, 45, 30, 24, 33, -21, {{10, 5}, {30, 25}}, {5, 2, 50, 38}},
    {"reversed-fill", 50, 30, 45, 29, 16, 20, 20, {{0, 0}}, {40, 25, 2, 3}},
    {"enlarged", 10, 10, 25, 23, 24, 7, 7, {{2, 1}}, {1, 1, 10, 10}},
    {"banded", 1000, 300, 300, 220, 24, 400, 300, {{0, 0}, {400, 0}, {800, 0}}, {1, 1, 1000, 300}},
};

gdi::HBITMAP RandomFrame(const StripCase& c, std::mt19937& random) {
  gdi::BITMAPINFOHEADER header;
  header.biWidth = c.frameWidth;
  header.biHeight = c.frameHeight;
  header.biBitCount = static_cast<uint16_t>(c.bpp);
  std::vector<gdi::RGBQUAD> palette(c.bpp <= 8 ? 256 : 0);
  for (auto& entry : palette) entry = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
  void* bits = nullptr;
  gdi::HBITMAP frame = gdi::CreateDIBSection(nullptr, header, palette, gdi::DIB_RGB_COLORS, &bits, nullptr, 0);
  EXPECT_NE(frame, nullptr);
  auto* bytes = static_cast<uint8_t*>(bits);
  for (int64_t i = 0; i < int64_t{frame->stride()} * frame->height(); ++i) bytes[i] = static_cast<uint8_t>(random());
  return frame;
}

TEST(SampledStrip, ResamplesToTheBytesOfTheFullStrip) {
  std::mt19937 random(20261207);
  for (const StripCase& c : kStripCases) {
    SCOPED_TRACE(c.name);
    const uint32_t key = random() & 0xFFFFFF;
    cAlphaDibSection full;
    ASSERT_TRUE(full.Create(c.width, c.height));
    SampledStrip sampled;
    ASSERT_TRUE(sampled.Create(c.width, c.height, c.targetWidth, c.targetHeight));
    FillRectangle(full.hDC(), c.fill[0], c.fill[1], c.fill[2], c.fill[3], key);
    sampled.Fill(c.fill[0], c.fill[1], c.fill[2], c.fill[3], key);
    for (const auto& [left, top] : c.frames) {
      gdi::HBITMAP frame = RandomFrame(c, random);
      gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
      gdi::HGDIOBJ old = gdi::SelectObject(dc, frame);
      gdi::BitBlt(full.hDC(), left, top, frame->width(), frame->height(), dc, 0, 0, gdi::SRCCOPY);
      sampled.Copy(*frame, left, top);
      gdi::SelectObject(dc, old);
      gdi::DeleteDC(dc);
      gdi::DeleteObject(frame);
    }
    const auto expected = full.Resample(c.targetHeight, c.targetWidth);
    ASSERT_TRUE(expected);
    for (const int threads : {1, 2, 8}) {
      const platform::ThreadCountForTesting count(threads);
      const auto actual = sampled.Resample();
      ASSERT_TRUE(actual);
      EXPECT_EQ(BytesOf(*actual), BytesOf(*expected)) << threads << " threads";
    }
  }
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
  std::mt19937 random(7919);
  for (const auto& [start, steps] : cases) {
    const auto source = RandomRaster(start.width, start.height, random);
    std::unique_ptr<cAlphaDibSection> expected = source->Resample(start.height, start.width);
    for (const StepSize& size : steps) expected = expected->Resample(size.height, size.width);
    const auto got = ResampleInSteps(*source, steps);
    ASSERT_TRUE(got);
    ASSERT_EQ(std::pair(got->Width(), got->Height()), std::pair(steps.back().width, steps.back().height));
    EXPECT_EQ(BytesOf(*got), BytesOf(*expected)) << start.width;
  }
}

TEST(ResampleInSteps, RefusesWhatResampleRefuses) {
  EXPECT_FALSE(ResampleInSteps(cAlphaDibSection(), {{2, 2}}));
  EXPECT_FALSE(ResampleInSteps(*RasterOf(4, 4, {}), {}));
  EXPECT_ANY_THROW(ResampleInSteps(*RasterOf(4, 4, {}), {{3, 1}, {2, 2}}));
}

TEST(SampledStrip, RefusesWhatIsNotAResample) {
  SampledStrip strip;
  EXPECT_FALSE(strip.Create(40, 30, 40, 30));  // the same size is a copy, not a blend
  EXPECT_FALSE(strip.Create(0, 30, 10, 10));
  EXPECT_EQ(strip.Resample(), nullptr);
}

}  // namespace
}  // namespace velkor
