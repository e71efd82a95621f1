// Resizing the strip to the device size, in one or several resampling steps.
#include "pipeline/DeviceSize.h"

#include <exception>

#include "raster/ResampleSteps.h"

namespace velkor {

RasterSize DeviceSizeFor(bool animated, const std::string& version) {
  return (animated ? AnimatedSrfVersion() : StaticSrfVersion(version)).device();
}

std::vector<RasterSize> ResampleSizes(RasterSize device, bool stepSample, int steps) {
  std::vector<RasterSize> sizes;
  const auto times = [&device](int32_t k) { return RasterSize{k * device.width, k * device.height}; };
  if (stepSample) {
    // One point is sampled per destination pixel, so a strong reduction in
    // one go skips most of the source; smaller steps see more of it.
    if (steps >= 2) sizes.push_back(times(4));
    if (steps >= 1) sizes.push_back(times(3));
    if (steps == 3) sizes.push_back(times(2));
  }
  sizes.push_back(device);
  return sizes;
}

bool ResizeThrough(std::unique_ptr<cAlphaDibSection>& image, const std::vector<RasterSize>& sizes,
                   const std::function<void(RasterSize)>& beforeStep) {
  // The steps are computed together, row by row (ResampleInSteps), so every
  // step is announced before the work starts.
  std::vector<StepSize> steps;
  for (const RasterSize& size : sizes) {
    beforeStep(size);
    steps.push_back({size.width, size.height});
  }
  std::unique_ptr<cAlphaDibSection> resampled;
  try {
    resampled = ResampleInSteps(*image, steps);
  } catch (const std::exception&) {
    return false;
  }
  if (!resampled) return false;
  image = std::move(resampled);
  return true;
}

}  // namespace velkor
