// The 3 x 3 neighbourhood filters of the alpha raster: Blur with two weights
// and UnsharpMask (twice the image less a fixed blur). The four bytes of a
// pixel are filtered alike and independently.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "common/Rounding.h"
#include "common/VbError.h"
#include "platform/ParallelFor.h"
#include "raster/FilterMath.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {

namespace {

// For one byte: the same byte of the neighbours that lie inside the raster
// (the centre not included) is `sum`, and `n` is the number of those
// neighbours plus one. Nothing outside the raster is padded or mirrored.
//
// The quotient sum / divisor(n) depends on two small integers only, so it is
// looked up: quotients[n][sum] holds exactly the double the division gives.
class BlurArithmetic {
 public:
  BlurArithmetic(float centreWeight, float strength) {
    for (int n = 1; n <= 9; ++n) {
      const double divisor = CSng(static_cast<float>(n) * static_cast<double>(strength));
      quotients_[n].resize(static_cast<size_t>(n - 1) * 255 + 1);
      for (size_t sum = 0; sum < quotients_[n].size(); ++sum) quotients_[n][sum] = static_cast<double>(sum) / divisor;
    }
    for (int p = 0; p < 256; ++p) centre_[p] = p / static_cast<double>(centreWeight);
  }
  // round((sum / (n * strength) + p / centreWeight) / 2), limited to 0..255.
  uint8_t Blurred(int32_t sum, int n, uint8_t p) const {
    return filter::ClampRoundByte((quotients_[n][static_cast<size_t>(sum)] + centre_[p]) / 2);
  }

 private:
  std::array<std::vector<double>, 10> quotients_;
  std::array<double, 256> centre_{};
};

// Blurs memory rows [first, last). Each row first adds up, byte by byte, the
// rows of its neighbourhood (one to three), then every byte takes the sums of
// its own column and the columns beside it.
void BlurRows(const uint8_t* bits, uint8_t* out, int32_t width, int32_t height, const BlurArithmetic& blur,
              int32_t first, int32_t last) {
  const int64_t stride = 4 * static_cast<int64_t>(width);
  std::vector<int32_t> columnSums(static_cast<size_t>(stride));
  for (int32_t y = first; y < last; ++y) {
    const int32_t top = y > 0 ? y - 1 : 0;
    const int32_t bottom = y < height - 1 ? y + 1 : y;
    const int rowCount = bottom - top + 1;
    std::fill(columnSums.begin(), columnSums.end(), 0);
    for (int32_t r = top; r <= bottom; ++r) {
      const uint8_t* row = bits + r * stride;
      for (int64_t k = 0; k < stride; ++k) columnSums[static_cast<size_t>(k)] += row[k];
    }
    const uint8_t* centre = bits + y * stride;
    uint8_t* result = out + y * stride;
    const int32_t* sums = columnSums.data();
    // x = 0 and x = width - 1 have a neighbour on one side only (none when
    // the raster is one pixel wide); every other column has both.
    const auto edge = [&](int32_t x) {
      const int32_t left = x > 0 ? x - 1 : 0;
      const int32_t right = x < width - 1 ? x + 1 : x;
      const int n = rowCount * (right - left + 1);
      for (int64_t k = 4 * int64_t{x}; k < 4 * int64_t{x} + 4; ++k) {
        int32_t total = 0;
        for (int32_t i = left; i <= right; ++i) total += sums[4 * i + (k & 3)];
        result[k] = blur.Blurred(total - centre[k], n, centre[k]);
      }
    };
    edge(0);
    const int n = rowCount * 3;
    for (int64_t k = 4; k < stride - 4; ++k) {
      result[k] = blur.Blurred(sums[k - 4] + sums[k] + sums[k + 4] - centre[k], n, centre[k]);
    }
    if (width > 1) edge(width - 1);
  }
}

// out = round((sum / (n * strength) + p / centreWeight) / 2), limited to
// 0..255. n * strength is a single-precision product; the divisions, the sum
// and the halving are double. Rows are independent: every core takes a share.
void BlurPass(const uint8_t* source, uint8_t* out, int32_t width, int32_t height, float centreWeight, float strength) {
  if (centreWeight == 0.0f || strength == 0.0f) RaiseDivisionByZero();
  if (std::isnan(centreWeight) || std::isnan(strength)) RaiseOverflow();
  const BlurArithmetic blur(centreWeight, strength);
  platform::ParallelFor(height, platform::RowBand(height, 16 * int64_t{width}), [&](int64_t first, int64_t last) {
    BlurRows(source, out, width, height, blur, static_cast<int32_t>(first), static_cast<int32_t>(last));
  });
}

}  // namespace

std::unique_ptr<cAlphaDibSection> cAlphaDibSection::Blur(float CenterWeight, float Strength) const {
  if (Empty()) return nullptr;
  auto result = std::make_unique<cAlphaDibSection>();
  if (!result->Create(Width(), Height())) return nullptr;
  BlurInto(*result, CenterWeight, Strength);
  return result;
}

void cAlphaDibSection::BlurInto(cAlphaDibSection& destination, float CenterWeight, float Strength) const {
  BlurPass(bits_, destination.bits_, Width(), Height(), CenterWeight, Strength);
}

std::unique_ptr<cAlphaDibSection> cAlphaDibSection::UnsharpMask() const {
  if (Empty()) return nullptr;
  auto result = std::make_unique<cAlphaDibSection>();
  if (!result->Create(Width(), Height())) return nullptr;
  UnsharpMaskInto(*result);
  return result;
}

void cAlphaDibSection::UnsharpMaskInto(cAlphaDibSection& destination) const {
  const size_t size = static_cast<size_t>(BytesPerScanLine()) * static_cast<size_t>(Height());
  std::vector<uint8_t> blurred(size);
  BlurPass(bits_, blurred.data(), Width(), Height(), 1.0f, 1.0f);
  for (size_t i = 0; i < size; ++i) {
    destination.bits_[i] = filter::ClampByte(2 * bits_[i] - blurred[i]);
  }
}

}  // namespace velkor
