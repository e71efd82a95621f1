#pragma once
// A strip that is only ever resampled to one size keeps only the pixels the
// bilinear resampler reads: two source rows per destination row and two
// source columns per destination column. For the 2.20 strip that is 300 of
// 750 rows and 5760 of 14400 columns, 6.9 MB instead of 43 MB that would be
// touched once and thrown away. Fills and frame copies land where the full
// strip would have them, and Resample gives the bytes the full strip's
// Resample gives.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/GdiTypes.h"
#include "raster/ResampleKernel.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {

class SampledStrip {
 public:
  // False when the kept pixels cannot be allocated. A resample that would
  // raise (a source one pixel across) raises here.
  bool Create(int32_t width, int32_t height, int32_t targetWidth, int32_t targetHeight);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // What FillRectangle(left, top, right, bottom, colour) does to the full
  // strip with its pen and brush of one colour: [left, right) x [top, bottom)
  // in picture coordinates, clipped, fourth byte 0.
  void Fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colorRef);

  // What BitBlt(SRCCOPY) of the whole of `frame` to (left, top) of the full
  // strip does: clipped, a fourth byte 0 from any depth but 32.
  void Copy(const gdi::Bitmap& frame, int32_t left, int32_t top);

  // The full strip's Resample(targetHeight, targetWidth); none when the raster
  // cannot be made.
  std::unique_ptr<cAlphaDibSection> Resample() const;

 private:
  // The kept source positions and, for each source position, its place among
  // them or -1. Kept positions are sorted, so a sample's upper neighbour is
  // always the next kept one.
  struct Axis {
    std::vector<resample::SamplePoint> samples;  // indices already mapped to kept places
    std::vector<int32_t> kept;                   // kept place -> source position
    std::vector<int32_t> place;                  // source position -> kept place or -1
  };
  static Axis MakeAxis(int32_t sourceSize, int32_t destinationSize);
  uint8_t* Pixel(int32_t keptRow, int32_t keptColumn) {
    return pixels_.get() + (static_cast<size_t>(keptRow) * columns_.kept.size() + static_cast<size_t>(keptColumn)) * 4;
  }

  int32_t width_ = 0, height_ = 0;
  Axis columns_, rows_;  // rows_ counts memory rows: bottom-up, as the resampler reads them
  // Zeroed pages of their own, in 2 MiB pages where the system has them: the
  // first touch of a few MB then costs a few faults instead of ~1700.
  struct Unmap {
    void* mapping;
    size_t bytes;
    void operator()(uint8_t* memory) const;
  };
  std::unique_ptr<uint8_t, Unmap> pixels_{nullptr, Unmap{nullptr, 0}};
};

}  // namespace velkor
