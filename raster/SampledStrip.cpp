#include "raster/SampledStrip.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/GdiObjects.h"
#include "platform/ParallelFor.h"
#include "platform/PixelAccess.h"

namespace velkor {

namespace {

// The little-endian B, G, R, A bytes of a 32-bit pixel value.
void Store(uint8_t* to, uint32_t bgra) {
  to[0] = static_cast<uint8_t>(bgra);
  to[1] = static_cast<uint8_t>(bgra >> 8);
  to[2] = static_cast<uint8_t>(bgra >> 16);
  to[3] = static_cast<uint8_t>(bgra >> 24);
}

// The kept places whose source positions lie in [first, last).
std::pair<size_t, size_t> KeptIn(const std::vector<int32_t>& kept, int64_t first, int64_t last) {
  const auto begin = std::lower_bound(kept.begin(), kept.end(), first);
  const auto end = std::lower_bound(begin, kept.end(), last);
  return {static_cast<size_t>(begin - kept.begin()), static_cast<size_t>(end - kept.begin())};
}

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void SampledStrip::Unmap::operator()(uint8_t*) const { ::munmap(mapping, bytes); }

SampledStrip::Axis SampledStrip::MakeAxis(int32_t sourceSize, int32_t destinationSize) {
  Axis axis;
  axis.samples = resample::SamplePoints(sourceSize, destinationSize);
  axis.place.assign(static_cast<size_t>(sourceSize), -1);
  for (const resample::SamplePoint& s : axis.samples) {
    axis.place[static_cast<size_t>(s.index)] = 0;
    axis.place[static_cast<size_t>(s.index) + 1] = 0;
  }
  for (int32_t i = 0; i < sourceSize; ++i) {
    if (axis.place[static_cast<size_t>(i)] < 0) continue;
    axis.place[static_cast<size_t>(i)] = static_cast<int32_t>(axis.kept.size());
    axis.kept.push_back(i);
  }
  for (resample::SamplePoint& s : axis.samples) s.index = axis.place[static_cast<size_t>(s.index)];
  return axis;
}

bool SampledStrip::Create(int32_t width, int32_t height, int32_t targetWidth, int32_t targetHeight) {
  if (width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0) return false;
  // The same size is a plain copy in Resample, not a blend: not this class's case.
  if (width == targetWidth && height == targetHeight) return false;
  try {
    columns_ = MakeAxis(width, targetWidth);
    rows_ = MakeAxis(height, targetHeight);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // Zeroed, as a new full strip is. Mapped one huge page larger than needed,
  // and used from its first 2 MiB boundary, so that it starts on one.
  const size_t bytes = columns_.kept.size() * rows_.kept.size() * 4;
  const size_t mapped = (bytes + 2 * kHugePage - 1) & ~(kHugePage - 1);
  void* memory = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return false;
  const uintptr_t aligned = (reinterpret_cast<uintptr_t>(memory) + kHugePage - 1) & ~(kHugePage - 1);
#ifdef MADV_HUGEPAGE
  ::madvise(reinterpret_cast<void*>(aligned), mapped - (aligned - reinterpret_cast<uintptr_t>(memory)), MADV_HUGEPAGE);
#endif
  pixels_ = std::unique_ptr<uint8_t, Unmap>(reinterpret_cast<uint8_t*>(aligned), Unmap{memory, mapped});
  width_ = width;
  height_ = height;
  return true;
}

void SampledStrip::Fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colorRef) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  uint8_t bytes[4];
  Store(bytes, gdi::ColorRefToBgra(colorRef & 0xFFFFFF));
  uint32_t pixel;
  std::memcpy(&pixel, bytes, 4);
  // Picture rows [top, bottom) are memory rows [height - bottom, height - top).
  const auto [row0, row1] = KeptIn(rows_.kept, int64_t{height_} - bottom, int64_t{height_} - top);
  const auto [col0, col1] = KeptIn(columns_.kept, left, right);
  if (col0 >= col1) return;
  for (size_t r = row0; r < row1; ++r) {
    // Kept columns are side by side in a kept row: one run of pixels.
    uint8_t* first = Pixel(static_cast<int32_t>(r), static_cast<int32_t>(col0));
    for (size_t c = 0; c < col1 - col0; ++c) std::memcpy(first + 4 * c, &pixel, 4);
  }
}

void SampledStrip::Copy(const gdi::Bitmap& frame, int32_t left, int32_t top) {
  const int64_t bottom = int64_t{top} + frame.height();
  const auto [row0, row1] = KeptIn(rows_.kept, height_ - bottom, int64_t{height_} - top);
  const auto [col0, col1] = KeptIn(columns_.kept, left, int64_t{left} + frame.width());
  for (size_t r = row0; r < row1; ++r) {
    const int32_t pictureRow = height_ - 1 - rows_.kept[r];
    const uint8_t* source = frame.row(pictureRow - top);
    uint8_t* out = Pixel(static_cast<int32_t>(r), static_cast<int32_t>(col0));
    const int32_t* x = columns_.kept.data();
    if (frame.bpp() == 24) {  // the usual frame file
      for (size_t c = col0; c < col1; ++c, out += 4) {
        const uint8_t* p = source + 3 * static_cast<int64_t>(x[c] - left);
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
        out[3] = 0;
      }
    } else if (frame.bpp() == 32) {
      for (size_t c = col0; c < col1; ++c, out += 4) {
        std::memcpy(out, source + 4 * static_cast<int64_t>(x[c] - left), 4);
      }
    } else {
      for (size_t c = col0; c < col1; ++c, out += 4) {
        Store(out, gdi::ReadPixel(frame, source, x[c] - left) & 0x00FFFFFFu);
      }
    }
  }
}

std::unique_ptr<cAlphaDibSection> SampledStrip::Resample() const {
  if (!pixels_) return nullptr;
  const auto targetWidth = static_cast<int32_t>(columns_.samples.size());
  const auto targetHeight = static_cast<int32_t>(rows_.samples.size());
  auto result = std::make_unique<cAlphaDibSection>();
  if (!result->Create(targetWidth, targetHeight)) return nullptr;
  const int64_t stride = 4 * static_cast<int64_t>(columns_.kept.size());
  const int64_t band = platform::RowBand(targetHeight, 16 * int64_t{targetWidth});
  platform::ParallelFor(targetHeight, band, [&](int64_t first, int64_t last) {
    for (auto y = static_cast<int32_t>(first); y < last; ++y) {
      const resample::SamplePoint& row = rows_.samples[static_cast<size_t>(y)];
      const uint8_t* lower = pixels_.get() + row.index * stride;
      resample::ResampleRow(lower, lower + stride, row.fraction, columns_.samples, result->MemoryRow(y));
    }
  });
  return result;
}

}  // namespace velkor
