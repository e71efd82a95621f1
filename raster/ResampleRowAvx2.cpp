// ResampleRow for processors with AVX2: the four channels of a pixel in one
// register of four doubles instead of two registers of two. Every lane sees
// the same IEEE double operations in the same order as the baseline row
// (no fused multiply-add: the target enables AVX2 alone), so the bytes are
// the same; only the instruction count halves.
#include <cstring>

#include "raster/ResampleKernel.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

namespace velkor::resample {
namespace {

#define VELKOR_AVX2 __attribute__((target("avx2"), always_inline)) inline

VELKOR_AVX2 uint32_t Load(const uint8_t* pixel) {
  uint32_t word;
  std::memcpy(&word, pixel, 4);
  return word;
}

VELKOR_AVX2 __m256d Widen(uint32_t word) {
  return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(word))));
}

// Four integral lanes in 0..255 back to the four bytes of a pixel.
VELKOR_AVX2 uint32_t Narrow(__m256d lanes) {
  const __m128i ints = _mm256_cvtpd_epi32(lanes);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(ints, ints), ints)));
}

VELKOR_AVX2 __m256d RoundLanes(__m256d v) {
  const __m256d shift = _mm256_set1_pd(6755399441055744.0);
  return _mm256_sub_pd(_mm256_add_pd(v, shift), shift);
}

VELKOR_AVX2 __m256d Blend(__m256d a, __m256d b, __m256d weightA, __m256d weightB) {
  return _mm256_add_pd(_mm256_mul_pd(weightA, a), _mm256_mul_pd(weightB, b));
}

#undef VELKOR_AVX2

}  // namespace

bool HaveAvx2() { return __builtin_cpu_supports("avx2"); }

// The vertical values are whole numbers from 0 to 255 once rounded, so they
// are kept as the four bytes of a pixel. Where both sides of a blend are the
// same pixel the blend is that pixel: the weights' products and sum are off by
// a few times 2^-45 at most, far below the half that rounding to a
// whole number would need to move. Keyed backgrounds are mostly such.
__attribute__((target("avx2"))) void ResampleRowAvx2(const uint8_t* lower, const uint8_t* upper, double dy,
                                                     const std::vector<SamplePoint>& columns, uint8_t* out) {
  const __m256d weightUpper = _mm256_set1_pd(dy), weightLower = _mm256_set1_pd(1.0 - dy);
  const __m256d zero = _mm256_setzero_pd(), top = _mm256_set1_pd(255.0);
  // Vertical first, each side rounded to an integer, then horizontal.
  const auto vertical = [&](int64_t byte) __attribute__((target("avx2"))) {
    const uint32_t low = Load(lower + byte), high = Load(upper + byte);
    if (low == high) return low;
    return Narrow(RoundLanes(Blend(Widen(low), Widen(high), weightLower, weightUpper)));
  };
  int32_t leftIndex = -2;  // the source column whose values `left` holds; `right` holds leftIndex + 1
  uint32_t left = 0, right = 0;
  for (const SamplePoint& column : columns) {
    if (column.index != leftIndex) {
      const int64_t leftByte = 4 * static_cast<int64_t>(column.index);
      left = column.index == leftIndex + 1 ? right : vertical(leftByte);
      right = vertical(leftByte + 4);
      leftIndex = column.index;
    }
    uint32_t word = left;
    if (left != right) {
      const __m256d blended =
          Blend(Widen(left), Widen(right), _mm256_set1_pd(1.0 - column.fraction), _mm256_set1_pd(column.fraction));
      word = Narrow(RoundLanes(_mm256_min_pd(_mm256_max_pd(blended, zero), top)));
    }
    std::memcpy(out, &word, 4);
    out += 4;
  }
}

}  // namespace velkor::resample
#else
namespace velkor::resample {
bool HaveAvx2() { return false; }
void ResampleRowAvx2(const uint8_t* lower, const uint8_t* upper, double dy, const std::vector<SamplePoint>& columns,
                     uint8_t* out) {
  ResampleRowBaseline(lower, upper, dy, columns, out);
}
}  // namespace velkor::resample
#endif
