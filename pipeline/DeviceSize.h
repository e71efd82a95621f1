#pragma once
// The sizes the SRF writers cut into frames, and the intermediate sizes that
// step-sampling passes through on the way there.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "raster/cAlphaDibSection.h"
#include "srf/SrfVersion.h"

namespace velkor {

// Static "1.00"/"2.00": 2880 x 160; other static versions: 2880 x 150;
// animated: 3242 x 340.
RasterSize DeviceSizeFor(bool animated, const std::string& version);

// The sizes to resample to, in order. With step-sampling: 4x when steps >= 2,
// 3x when steps >= 1, 2x when steps = 3; the device size always comes last.
std::vector<RasterSize> ResampleSizes(RasterSize device, bool stepSample, int steps);

// Resamples `image` through `sizes` in order, calling `beforeStep` for each
// size first. The result replaces the image; the steps in between are never
// held whole. False when the result cannot be made: `image` is then as it was.
bool ResizeThrough(std::unique_ptr<cAlphaDibSection>& image, const std::vector<RasterSize>& sizes,
                   const std::function<void(RasterSize)>& beforeStep);

}  // namespace velkor
