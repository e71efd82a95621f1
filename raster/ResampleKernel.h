#pragma once
// The bilinear resampler's pieces, shared by cAlphaDibSection::Resample and
// by the sampled strip, which keeps only the source pixels they read. Both
// must compute every destination pixel from the same numbers.
#include <cstdint>
#include <vector>

namespace velkor::resample {

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
std::vector<SamplePoint> SamplePoints(int32_t sourceSize, int32_t destinationSize);

// One destination row of 32-bit pixels from the two source rows it lies
// between; `columns` index 4-byte pixels of both rows. It takes the AVX2 row
// where the processor has AVX2, the baseline row elsewhere; both give the
// same bytes.
void ResampleRow(const uint8_t* lower, const uint8_t* upper, double dy, const std::vector<SamplePoint>& columns,
                 uint8_t* out);
void ResampleRowBaseline(const uint8_t* lower, const uint8_t* upper, double dy, const std::vector<SamplePoint>& columns,
                         uint8_t* out);
void ResampleRowAvx2(const uint8_t* lower, const uint8_t* upper, double dy, const std::vector<SamplePoint>& columns,
                     uint8_t* out);
bool HaveAvx2();

}  // namespace velkor::resample
