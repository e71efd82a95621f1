// Resizing the strip to the device size, in one or several resampling steps.
#include "pipeline/DeviceSize.h"

#include <exception>
#include <memory>

#include "ui/frmMain.h"

namespace velkor {

RasterSize DeviceSizeFor(bool animated, const std::string& version) {
  if (animated) return RasterSize{3242, 340};
  if (version == "1.00" || version == "2.00") return RasterSize{2880, 160};
  return RasterSize{2880, 150};
}

int SelectedSteps(const std::array<OptionButton, 3>& optSteps) {
  for (int i = 0; i < 3; ++i) {
    if (optSteps[static_cast<size_t>(i)].Value) return i + 1;
  }
  return 0;
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

bool frmMain::ResizeToDeviceSize(const std::string& version) {
  const int steps = SelectedSteps(Controls.optSteps);
  const RasterSize device = DeviceSizeFor(AnimatedMode, version);
  if (!Controls.chkResize.Value) return true;
  // An empty working image has nothing to scale; it is left as it is.
  if (WorkImage->Empty()) return true;
  for (const RasterSize& size : ResampleSizes(device, Controls.chkStepSample.Value, steps)) {
    SetStatus("Status: Resampling to " + std::to_string(size.width) + "x" + std::to_string(size.height) +
              "...");
    std::unique_ptr<cAlphaDibSection> resampled;
    try {
      resampled = WorkImage->Resample(size.height, size.width);
    } catch (const std::exception&) {
      resampled.reset();
    }
    if (!resampled) {
      // The working image stays as the last step that completed left it.
      SetStatus("Status: Error resampling image!");
      return false;
    }
    WorkImage = std::move(resampled);
  }
  SetStatus("Status: Done...", false);
  return true;
}

}  // namespace velkor
