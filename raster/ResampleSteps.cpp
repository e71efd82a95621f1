#include "raster/ResampleSteps.h"

#include <cstring>

#include "platform/ParallelFor.h"
#include "raster/ResampleKernel.h"

namespace velkor {
namespace {

using resample::SamplePoint;

// One pass: its size and where its rows and columns sample the pass before.
// A pass of the same size as the one before copies it (Resample does).
struct Pass {
  StepSize size;
  bool copy;
  std::vector<SamplePoint> columns, rows;
};

// The rows of every pass for one band of destination rows. Requests to a
// pass come in non-decreasing order (a destination row never samples above
// the next one's rows), so two rows per pass are enough: when a row must be
// made, the older of the two is the one no longer needed.
class RowChain {
 public:
  RowChain(const cAlphaDibSection& source, const std::vector<Pass>& passes)
      : source_(source), passes_(passes), caches_(passes.size()) {
    for (size_t k = 0; k < passes.size(); ++k)
      for (auto& row : caches_[k].rows) row.resize(4 * static_cast<size_t>(passes[k].size.width));
  }

  // Memory row `y` of pass `level` (0 is the source, k the k-th pass).
  const uint8_t* Row(size_t level, int32_t y) {
    if (level == 0) return source_.MemoryRow(y);
    const Pass& pass = passes_[level - 1];
    if (pass.copy) return Row(level - 1, y);
    Cache& cache = caches_[level - 1];
    for (int slot = 0; slot < 2; ++slot)
      if (cache.index[slot] == y) return cache.rows[slot].data();
    const int slot = cache.index[0] < cache.index[1] ? 0 : 1;
    Make(level, y, cache.rows[slot].data());
    cache.index[slot] = y;
    return cache.rows[slot].data();
  }

  // Row `y` of pass `level`, written to `out`.
  void Make(size_t level, int32_t y, uint8_t* out) {
    const Pass& pass = passes_[level - 1];
    if (pass.copy) {
      std::memcpy(out, Row(level - 1, y), 4 * static_cast<size_t>(pass.size.width));
      return;
    }
    const SamplePoint& row = pass.rows[static_cast<size_t>(y)];
    const uint8_t* lower = Row(level - 1, row.index);
    const uint8_t* upper = Row(level - 1, row.index + 1);
    resample::ResampleRow(lower, upper, row.fraction, pass.columns, out);
  }

 private:
  struct Cache {
    int32_t index[2] = {-1, -1};
    std::vector<uint8_t> rows[2];
  };
  const cAlphaDibSection& source_;
  const std::vector<Pass>& passes_;
  std::vector<Cache> caches_;
};

}  // namespace

std::unique_ptr<cAlphaDibSection> ResampleInSteps(const cAlphaDibSection& source, const std::vector<StepSize>& sizes) {
  if (source.Empty() || sizes.empty()) return nullptr;
  std::vector<Pass> passes;
  StepSize before{source.Width(), source.Height()};
  int64_t bytesPerFinalRow = 0;  // the work of one destination row, all passes counted
  for (const StepSize& size : sizes) {
    const bool copy = size.width == before.width && size.height == before.height;
    passes.push_back({size, copy, copy ? std::vector<SamplePoint>{} : resample::SamplePoints(before.width, size.width),
                      copy ? std::vector<SamplePoint>{} : resample::SamplePoints(before.height, size.height)});
    bytesPerFinalRow += 4 * int64_t{size.width} * size.height / sizes.back().height;
    before = size;
  }
  auto result = std::make_unique<cAlphaDibSection>();
  if (!result->Create(before.width, before.height)) return nullptr;
  // Destination rows are independent: each thread takes a band with rows of
  // its own; the few rows where the bands meet are made twice, identically.
  platform::ParallelFor(before.height, platform::RowBand(before.height, bytesPerFinalRow),
                        [&](int64_t first, int64_t last) {
                          RowChain chain(source, passes);
                          for (auto y = static_cast<int32_t>(first); y < last; ++y)
                            chain.Make(passes.size(), y, result->MemoryRow(y));
                        });
  return result;
}

}  // namespace velkor
