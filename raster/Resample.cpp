// Bilinear resampling of the alpha raster. Each destination pixel is read
// from exactly four source pixels, with no prefilter: strong reductions are
// done in steps by the caller.
#include <cmath>
#include <vector>

#include "common/VbError.h"
#include "platform/Gdi.h"
#include "raster/FilterMath.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {

std::unique_ptr<cAlphaDibSection> cAlphaDibSection::Resample(int32_t lNewHeight, int32_t lNewWidth) const {
  if (Empty()) return nullptr;
  auto result = std::make_unique<cAlphaDibSection>();
  if (!result->Create(lNewWidth, lNewHeight)) return nullptr;
  if (lNewWidth == Width() && lNewHeight == Height()) {
    // Same size: a plain copy of every byte, alpha included.
    result->LoadPictureBlt(hDC_, 0, 0, -1, -1, gdi::SRCCOPY);
  } else {
    ResampleBilinear(*result);
  }
  return result;
}

namespace {

// Where one destination column or row samples the source: the lower source
// index and the fraction towards the next one, both in single precision as
// the positions are stored.
struct SamplePoint {
  int32_t index;
  double fraction;  // the stored 32-bit fraction, widened
};

// Destination position i samples source position (float)(scale * i); the
// scale factor is (source - 1) / destination, stored in single precision.
// A sample whose upper neighbour lies outside the source (a source one pixel
// across) is an index out of range.
std::vector<SamplePoint> SamplePoints(int32_t sourceSize, int32_t destinationSize) {
  const float scale = static_cast<float>(static_cast<double>(sourceSize - 1) / destinationSize);
  std::vector<SamplePoint> points(static_cast<size_t>(destinationSize));
  for (int32_t i = 0; i < destinationSize; ++i) {
    const float position = static_cast<float>(static_cast<double>(scale) * i);
    const auto index = static_cast<int32_t>(std::floor(position));
    if (index + 1 > sourceSize - 1) RaiseSubscriptOutOfRange();
    const float fraction = static_cast<float>(position - static_cast<float>(index));
    points[static_cast<size_t>(i)] = SamplePoint{index, fraction};
  }
  return points;
}

}  // namespace

void cAlphaDibSection::ResampleBilinear(cAlphaDibSection& destination) const {
  const int32_t newWidth = destination.Width();
  const int32_t newHeight = destination.Height();
  const std::vector<SamplePoint> columns = SamplePoints(Width(), newWidth);
  const std::vector<SamplePoint> rows = SamplePoints(Height(), newHeight);
  const int64_t sourceStride = BytesPerScanLine();
  const int64_t destinationStride = destination.BytesPerScanLine();

  for (int32_t y = 0; y < newHeight; ++y) {
    const SamplePoint& row = rows[static_cast<size_t>(y)];
    const double dy = row.fraction;
    const double oneMinusDy = 1.0 - dy;
    const uint8_t* lower = bits_ + row.index * sourceStride;
    const uint8_t* upper = lower + sourceStride;
    uint8_t* out = destination.bits_ + y * destinationStride;
    for (const SamplePoint& column : columns) {
      const double dx = column.fraction;
      const double oneMinusDx = 1.0 - dx;
      const uint8_t* lowerLeft = lower + 4 * static_cast<int64_t>(column.index);
      const uint8_t* upperLeft = upper + 4 * static_cast<int64_t>(column.index);
      for (int c = 0; c < 4; ++c) {
        // Vertical first, each side rounded to an integer, then horizontal.
        const double left = filter::RoundTiesEven(oneMinusDy * lowerLeft[c] + dy * upperLeft[c]);
        const double right = filter::RoundTiesEven(oneMinusDy * lowerLeft[c + 4] + dy * upperLeft[c + 4]);
        out[c] = filter::ClampRoundByte(oneMinusDx * left + dx * right);
      }
      out += 4;
    }
  }
}

}  // namespace velkor
