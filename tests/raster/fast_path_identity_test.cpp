// The filters' fast paths (shared vertical values, looked-up quotients, rows
// split over two threads, word-wide 24-to-32-bit copies, threaded fills)
// against plain textbook implementations written here from the arithmetic
// rules, on random pictures of awkward and of large sizes. Every byte must
// agree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "platform/FillRectangle.h"
#include "common/Rounding.h"
#include "platform/Gdi.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {
namespace {

struct Size {
  int32_t width, height;
};

// 1 x N, N x 1, 2 x 2, odd widths, and sizes large enough for two threads.
const std::vector<Size> kSizes = {{1, 1},   {1, 7},   {7, 1},    {2, 2},     {3, 5},    {17, 9},
                                  {31, 2},  {2, 31},  {101, 67}, {1, 1500},  {1500, 1}, {640, 480},
                                  {999, 401}};

std::unique_ptr<cAlphaDibSection> RandomRaster(Size size, std::mt19937& random) {
  auto raster = std::make_unique<cAlphaDibSection>();
  EXPECT_TRUE(raster->Create(size.width, size.height));
  std::uniform_int_distribution<int> byte(0, 255);
  const size_t bytes = static_cast<size_t>(raster->BytesPerScanLine()) * static_cast<size_t>(size.height);
  uint8_t* bits = raster->DIBSectionBitsPtr();
  // Runs of equal bytes as well as noise, so that clamping at 0 and 255 and
  // flat areas both occur.
  for (size_t i = 0; i < bytes; ++i) {
    bits[i] = static_cast<uint8_t>(byte(random) < 64 ? (byte(random) & 1) * 255 : byte(random));
  }
  return raster;
}

std::vector<uint8_t> BytesOf(const cAlphaDibSection& raster) {
  const uint8_t* bits = raster.DIBSectionBitsPtr();
  return std::vector<uint8_t>(bits, bits + static_cast<size_t>(raster.BytesPerScanLine()) * raster.Height());
}

uint8_t ClampNearest(double v) { return static_cast<uint8_t>(std::nearbyint(std::clamp(v, 0.0, 255.0))); }

// Bilinear resampling as the rules state it: position (float)(scale * i) with
// scale = (float)((source - 1) / destination); vertical blends first, each
// rounded ties-to-even, then the horizontal blend, rounded and limited.
// The same size is a plain copy.
std::vector<uint8_t> ReferenceResample(const cAlphaDibSection& source, int32_t newWidth, int32_t newHeight) {
  if (newWidth == source.Width() && newHeight == source.Height()) return BytesOf(source);
  const auto sample = [](int32_t s, int32_t d, int32_t i, int32_t& index, double& fraction) {
    const float scale = static_cast<float>(static_cast<double>(s - 1) / d);
    const float position = static_cast<float>(static_cast<double>(scale) * i);
    index = static_cast<int32_t>(std::floor(position));
    fraction = static_cast<float>(position - static_cast<float>(index));
  };
  const int32_t w = source.Width();
  const uint8_t* bits = source.DIBSectionBitsPtr();
  const auto byte = [&](int32_t x, int32_t y, int c) { return bits[(static_cast<int64_t>(y) * w + x) * 4 + c]; };
  std::vector<uint8_t> out(static_cast<size_t>(newWidth) * newHeight * 4);
  for (int32_t y = 0; y < newHeight; ++y) {
    int32_t sy;
    double dy;
    sample(source.Height(), newHeight, y, sy, dy);
    for (int32_t x = 0; x < newWidth; ++x) {
      int32_t sx;
      double dx;
      sample(w, newWidth, x, sx, dx);
      for (int c = 0; c < 4; ++c) {
        const double left = std::nearbyint((1 - dy) * byte(sx, sy, c) + dy * byte(sx, sy + 1, c));
        const double right = std::nearbyint((1 - dy) * byte(sx + 1, sy, c) + dy * byte(sx + 1, sy + 1, c));
        out[(static_cast<size_t>(y) * newWidth + x) * 4 + c] = ClampNearest((1 - dx) * left + dx * right);
      }
    }
  }
  return out;
}

// The 3 x 3 blur byte by byte: the neighbours inside the picture, n of them
// with the centre, out = round((sum / CSng(n * strength) + p / centre) / 2).
std::vector<uint8_t> ReferenceBlur(const cAlphaDibSection& source, float centreWeight, float strength) {
  const int32_t w = source.Width(), h = source.Height();
  const uint8_t* bits = source.DIBSectionBitsPtr();
  std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      for (int c = 0; c < 4; ++c) {
        int32_t sum = 0;
        int n = 1;
        for (int32_t ny = y - 1; ny <= y + 1; ++ny) {
          for (int32_t nx = x - 1; nx <= x + 1; ++nx) {
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || (nx == x && ny == y)) continue;
            sum += bits[(static_cast<int64_t>(ny) * w + nx) * 4 + c];
            ++n;
          }
        }
        const uint8_t p = bits[(static_cast<int64_t>(y) * w + x) * 4 + c];
        const double divisor = CSng(static_cast<float>(n) * static_cast<double>(strength));
        out[(static_cast<size_t>(y) * w + x) * 4 + c] =
            ClampNearest((sum / divisor + p / static_cast<double>(centreWeight)) / 2);
      }
    }
  }
  return out;
}

class FastPathIdentity : public ::testing::Test {
 protected:
  std::mt19937 random_{20260515};
};

TEST_F(FastPathIdentity, ResampleMatchesTheTextbookBlend) {
  // Reductions by less than 2 (shared columns), by 5 (as Do All), and
  // enlargements, for every size.
  for (const Size size : kSizes) {
    if (size.width < 2 || size.height < 2) continue;  // a source one pixel across has no upper neighbour
    const auto source = RandomRaster(size, random_);
    const std::vector<Size> targets = {{size.width * 4 / 5 + 1, size.height * 4 / 5 + 1},
                                       {size.width / 5 + 1, size.height / 5 + 1},
                                       {size.width * 2 + 1, size.height + 3},
                                       {1, 1}};
    for (const Size target : targets) {
      SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height) + " -> " +
                   std::to_string(target.width) + "x" + std::to_string(target.height));
      const auto fast = source->Resample(target.height, target.width);
      ASSERT_TRUE(fast);
      EXPECT_EQ(BytesOf(*fast), ReferenceResample(*source, target.width, target.height));
    }
  }
}

TEST_F(FastPathIdentity, BlurMatchesTheTextbookNeighbourhood) {
  const std::vector<std::pair<float, float>> weights = {{1.0f, 1.0f}, {2.0f, 0.5f}, {0.3f, 3.7f}, {-1.5f, 0.9f}};
  for (const Size size : kSizes) {
    const auto source = RandomRaster(size, random_);
    for (const auto& [centre, strength] : weights) {
      SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height) + " weights " +
                   std::to_string(centre) + ", " + std::to_string(strength));
      const auto fast = source->Blur(centre, strength);
      ASSERT_TRUE(fast);
      EXPECT_EQ(BytesOf(*fast), ReferenceBlur(*source, centre, strength));
    }
  }
}

TEST_F(FastPathIdentity, UnsharpMaskIsTwiceThePictureLessItsBlur) {
  for (const Size size : kSizes) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    const auto source = RandomRaster(size, random_);
    const std::vector<uint8_t> blurred = ReferenceBlur(*source, 1.0f, 1.0f);
    const std::vector<uint8_t> original = BytesOf(*source);
    std::vector<uint8_t> expected(original.size());
    for (size_t i = 0; i < original.size(); ++i) {
      expected[i] = static_cast<uint8_t>(std::clamp(2 * original[i] - blurred[i], 0, 255));
    }
    const auto fast = source->UnsharpMask();
    ASSERT_TRUE(fast);
    EXPECT_EQ(BytesOf(*fast), expected);
  }
}

// A 24-bit bitmap blitted into a 32-bit one: B, G, R copied, the fourth byte
// 0, at every offset and width, including the last pixel of a row that ends
// at the bitmap's last byte.
TEST_F(FastPathIdentity, TwentyFourBitBlitCopiesEachPixelAndZeroesTheFourthByte) {
  std::uniform_int_distribution<int> byte(0, 255);
  for (const Size size : kSizes) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    gdi::BITMAPINFOHEADER header;
    header.biWidth = size.width;
    header.biHeight = size.height;
    header.biBitCount = 24;
    void* bits24 = nullptr;
    gdi::HBITMAP source = gdi::CreateDIBSection(nullptr, header, {}, gdi::DIB_RGB_COLORS, &bits24, nullptr, 0);
    ASSERT_TRUE(source);
    const int64_t stride24 = (static_cast<int64_t>(size.width) * 3 + 3) / 4 * 4;
    auto* from = static_cast<uint8_t*>(bits24);
    for (int64_t i = 0; i < stride24 * size.height; ++i) from[i] = static_cast<uint8_t>(byte(random_));
    gdi::HDC sourceDC = gdi::CreateCompatibleDC(nullptr);
    gdi::HGDIOBJ old = gdi::SelectObject(sourceDC, source);

    cAlphaDibSection target;
    ASSERT_TRUE(target.Create(size.width + 3, size.height));
    std::memset(target.DIBSectionBitsPtr(), 0xAB, static_cast<size_t>(target.BytesPerScanLine()) * size.height);
    ASSERT_TRUE(gdi::BitBlt(target.hDC(), 1, 0, size.width, size.height, sourceDC, 0, 0, gdi::SRCCOPY));
    for (int32_t y = 0; y < size.height; ++y) {
      const uint8_t* in = from + y * stride24;
      const uint8_t* out = target.DIBSectionBitsPtr() + static_cast<int64_t>(y) * target.BytesPerScanLine();
      for (int32_t x = 0; x < size.width + 3; ++x) {
        const bool copied = x >= 1 && x <= size.width;
        for (int c = 0; c < 4; ++c) {
          const uint8_t expected = !copied ? 0xAB : c == 3 ? 0 : in[3 * (x - 1) + c];
          ASSERT_EQ(out[4 * x + c], expected) << "x " << x << " memory row " << y << " byte " << c;
        }
      }
    }
    gdi::SelectObject(sourceDC, old);
    gdi::DeleteDC(sourceDC);
    gdi::DeleteObject(source);
  }
}

// A fill large enough to be split over two threads covers exactly its
// rectangle.
TEST_F(FastPathIdentity, LargeFillCoversExactlyItsRectangle) {
  cAlphaDibSection raster;
  ASSERT_TRUE(raster.Create(1203, 901));
  FillRectangle(raster.hDC(), 1, 1, 1203, 901, 0x00FF00);
  for (int32_t y = 0; y < 901; ++y) {  // picture row y is memory row 900 - y
    const uint8_t* row = raster.DIBSectionBitsPtr() + static_cast<int64_t>(900 - y) * raster.BytesPerScanLine();
    for (int32_t x = 0; x < 1203; ++x) {
      const bool filled = x >= 1 && y >= 1;
      const uint8_t expected[4] = {0, static_cast<uint8_t>(filled ? 255 : 0), 0, 0};
      ASSERT_EQ(std::memcmp(row + 4 * x, expected, 4), 0) << "x " << x << " picture row " << y;
    }
  }
}

}  // namespace
}  // namespace velkor
