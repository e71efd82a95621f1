#pragma once
// The sizes the SRF writers cut into frames: the composite strip divided by
// five, and the intermediate sizes that step-sampling passes through.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace velkor {

struct RasterSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const RasterSize&) const = default;
};

// Static "1.00"/"2.00": 2880 x 160; other static versions: 2880 x 150;
// animated: 3242 x 340.
RasterSize DeviceSizeFor(bool animated, const std::string& version);

// The number of steps the option buttons select: 1, 2 or 3, 0 when none is.
int SelectedSteps(const std::array<OptionButton, 3>& optSteps);

// The sizes to resample to, in order. With step-sampling: 4x when steps >= 2,
// 3x when steps >= 1, 2x when steps = 3; the device size always comes last.
std::vector<RasterSize> ResampleSizes(RasterSize device, bool stepSample, int steps);

}  // namespace velkor
