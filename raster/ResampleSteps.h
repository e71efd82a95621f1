#pragma once
// Several bilinear resampling passes in a row (step-sampling) computed as
// one. Each destination row asks the pass before it for the two rows it lies
// between, and each pass keeps only the last two rows it made, so the
// intermediate images are never held whole: for the 2.20 strip in four steps
// that is 50 MB less memory written and faulted in. Every row is computed by
// the arithmetic of cAlphaDibSection::Resample, so the result is the one the
// passes made one after the other give, to the bit.
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/cAlphaDibSection.h"

namespace velkor {

struct StepSize {
  int32_t width;
  int32_t height;
};

// `source` resampled to each size in turn. None when `source` is empty, no
// size is given or a raster cannot be made; a step from a source one pixel
// across raises, before anything is computed, as Resample does.
std::unique_ptr<cAlphaDibSection> ResampleInSteps(const cAlphaDibSection& source, const std::vector<StepSize>& sizes);

}  // namespace velkor
