// Bilinear resampling of the alpha raster. Each destination pixel is read
// from exactly four source pixels, with no prefilter: strong reductions are
// done in steps by the caller.
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/VbError.h"
#include "platform/Gdi.h"
#include "platform/ParallelFor.h"
#include "raster/FilterMath.h"
#include "raster/ResampleKernel.h"
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

namespace resample {

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

// One destination row from the two source rows it lies between. Every
// destination pixel blends the vertical values of two neighbouring source
// columns; consecutive pixels often share a column (always when enlarging or
// reducing by less than 2), so the values of the last two columns read are
// kept and reused rather than computed again. They are the same numbers
// either way.
#if defined(__SSE2__)
// The four bytes of a pixel as two pairs of doubles: (B, G) and (R, A).
struct PixelPair {
  __m128d low, high;
};

inline PixelPair Widen(const uint8_t* pixel) {
  uint32_t word;
  std::memcpy(&word, pixel, 4);
  const __m128i zero = _mm_setzero_si128();
  const __m128i ints = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(word)), zero), zero);
  return {_mm_cvtepi32_pd(ints), _mm_cvtepi32_pd(_mm_shuffle_epi32(ints, _MM_SHUFFLE(3, 2, 3, 2)))};
}

// Adding and taking away 1.5 * 2^52 rounds to the nearest integer, ties to
// even, lane by lane, exactly as filter::RoundTiesEven does.
inline __m128d RoundLanes(__m128d v) {
  const __m128d shift = _mm_set1_pd(6755399441055744.0);
  return _mm_sub_pd(_mm_add_pd(v, shift), shift);
}

inline __m128d Blend(__m128d a, __m128d b, __m128d weightA, __m128d weightB) {
  return _mm_add_pd(_mm_mul_pd(weightA, a), _mm_mul_pd(weightB, b));
}

// The same arithmetic as the scalar loop below, two channels per
// instruction: every lane sees the same IEEE operations in the same order.
void ResampleRowBaseline(const uint8_t* lower, const uint8_t* upper, double dy, const std::vector<SamplePoint>& columns,
                         uint8_t* out) {
  const __m128d weightUpper = _mm_set1_pd(dy);
  const __m128d weightLower = _mm_set1_pd(1.0 - dy);
  // Vertical first, each side rounded to an integer, then horizontal.
  const auto vertical = [&](int64_t byte) {
    const PixelPair l = Widen(lower + byte), u = Widen(upper + byte);
    return PixelPair{RoundLanes(Blend(l.low, u.low, weightLower, weightUpper)),
                     RoundLanes(Blend(l.high, u.high, weightLower, weightUpper))};
  };
  const __m128d zero = _mm_setzero_pd(), top = _mm_set1_pd(255.0);
  int32_t leftIndex = -2;  // the source column whose values `left` holds; `right` holds leftIndex + 1
  PixelPair left{}, right{};
  for (const SamplePoint& column : columns) {
    if (column.index != leftIndex) {
      const int64_t leftByte = 4 * static_cast<int64_t>(column.index);
      left = column.index == leftIndex + 1 ? right : vertical(leftByte);
      right = vertical(leftByte + 4);
      leftIndex = column.index;
    }
    const __m128d weightRight = _mm_set1_pd(column.fraction);
    const __m128d weightLeft = _mm_set1_pd(1.0 - column.fraction);
    // Limited to 0..255, then rounded: filter::ClampRoundByte.
    const auto finish = [&](__m128d l, __m128d r) {
      return _mm_cvtpd_epi32(RoundLanes(_mm_min_pd(_mm_max_pd(Blend(l, r, weightLeft, weightRight), zero), top)));
    };
    const __m128i ints = _mm_unpacklo_epi64(finish(left.low, right.low), finish(left.high, right.high));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(ints, ints), ints);
    const auto word = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
    std::memcpy(out, &word, 4);
    out += 4;
  }
}
#else
void ResampleRowBaseline(const uint8_t* lower, const uint8_t* upper, double dy, const std::vector<SamplePoint>& columns,
                         uint8_t* out) {
  const double oneMinusDy = 1.0 - dy;
  // Vertical first, each side rounded to an integer, then horizontal.
  const auto vertical = [&](int64_t byte) {
    return filter::RoundTiesEven(oneMinusDy * lower[byte] + dy * upper[byte]);
  };
  int32_t leftIndex = -2;  // the source column whose values `left` holds; `right` holds leftIndex + 1
  double left[4] = {}, right[4] = {};
  for (const SamplePoint& column : columns) {
    if (column.index != leftIndex) {
      const int64_t leftByte = 4 * static_cast<int64_t>(column.index);
      for (int c = 0; c < 4; ++c) {
        left[c] = column.index == leftIndex + 1 ? right[c] : vertical(leftByte + c);
        right[c] = vertical(leftByte + 4 + c);
      }
      leftIndex = column.index;
    }
    const double dx = column.fraction;
    const double oneMinusDx = 1.0 - dx;
    for (int c = 0; c < 4; ++c) out[c] = filter::ClampRoundByte(oneMinusDx * left[c] + dx * right[c]);
    out += 4;
  }
}
#endif

void ResampleRow(const uint8_t* lower, const uint8_t* upper, double dy, const std::vector<SamplePoint>& columns,
                 uint8_t* out) {
  static const bool avx2 = HaveAvx2();
  (avx2 ? ResampleRowAvx2 : ResampleRowBaseline)(lower, upper, dy, columns, out);
}

}  // namespace resample

void cAlphaDibSection::ResampleBilinear(cAlphaDibSection& destination) const {
  const int32_t newWidth = destination.Width();
  const int32_t newHeight = destination.Height();
  using resample::SamplePoint;
  const std::vector<SamplePoint> columns = resample::SamplePoints(Width(), newWidth);
  const std::vector<SamplePoint> rows = resample::SamplePoints(Height(), newHeight);
  const int64_t sourceStride = BytesPerScanLine();
  const int64_t destinationStride = destination.BytesPerScanLine();
  // Destination rows are independent of each other: every core takes a share.
  platform::ParallelFor(newHeight, platform::RowBand(newHeight, 4 * destinationStride),
                        [&](int64_t first, int64_t last) {
                          for (auto y = static_cast<int32_t>(first); y < last; ++y) {
                            const SamplePoint& row = rows[static_cast<size_t>(y)];
                            const uint8_t* lower = bits_ + row.index * sourceStride;
                            resample::ResampleRow(lower, lower + sourceStride, row.fraction, columns,
                                                  destination.bits_ + y * destinationStride);
                          }
                        });
}

}  // namespace velkor
