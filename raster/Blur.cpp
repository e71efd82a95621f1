// The 3 x 3 neighbourhood filters of the alpha raster: Blur with two weights
// and UnsharpMask (twice the image less a fixed blur). The four bytes of a
// pixel are filtered alike and independently.
#include <array>
#include <cmath>
#include <vector>

#include "common/Rounding.h"
#include "common/VbError.h"
#include "raster/FilterMath.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {

namespace {

// Calls emit(offset, sum, n) for every byte of the raster, where offset is the
// byte's place in the pixel memory, sum the same byte of the neighbours that
// lie inside the raster (the centre not included) and n the number of those
// neighbours plus one. Nothing outside the raster is padded or mirrored.
template <typename Emit>
void ForEachNeighbourhood(const uint8_t* bits, int32_t width, int32_t height, Emit emit) {
  const int64_t stride = 4 * static_cast<int64_t>(width);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* rows[3];
    int rowCount = 0;
    for (int32_t r = y - 1; r <= y + 1; ++r) {
      if (r >= 0 && r < height) rows[rowCount++] = bits + r * stride;
    }
    const int64_t rowStart = y * stride;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t first = x > 0 ? x - 1 : 0;
      const int32_t last = x < width - 1 ? x + 1 : x;
      const int n = rowCount * (last - first + 1);
      for (int c = 0; c < 4; ++c) {
        int32_t sum = 0;
        for (int r = 0; r < rowCount; ++r) {
          for (int32_t i = first; i <= last; ++i) sum += rows[r][4 * i + c];
        }
        const int64_t offset = rowStart + 4 * x + c;
        emit(offset, sum - bits[offset], n);
      }
    }
  }
}

// out = round((sum / (n * strength) + p / centreWeight) / 2), limited to
// 0..255. n * strength is a single-precision product; the divisions, the sum
// and the halving are double.
void BlurPass(const uint8_t* source, uint8_t* out, int32_t width, int32_t height, float centreWeight,
              float strength) {
  if (centreWeight == 0.0f || strength == 0.0f) RaiseDivisionByZero();
  if (std::isnan(centreWeight) || std::isnan(strength)) RaiseOverflow();
  std::array<double, 10> divisor{};
  for (int n = 1; n <= 9; ++n) divisor[n] = CSng(static_cast<float>(n) * static_cast<double>(strength));
  std::array<double, 256> centre{};
  for (int p = 0; p < 256; ++p) centre[p] = p / static_cast<double>(centreWeight);
  ForEachNeighbourhood(source, width, height, [&](int64_t offset, int32_t sum, int n) {
    out[offset] = filter::ClampRoundByte((sum / divisor[n] + centre[source[offset]]) / 2);
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
