// "Alpha+Resize"'s first half: the working image scaled to the device size.
#include "pipeline/DeviceSize.h"
#include "pipeline/commands/StepOptions.h"
#include "ui/commands/frmMain.h"

namespace velkor {

bool frmMain::ResizeToDeviceSize(const std::string& version) {
  const RasterSize device = DeviceSizeFor(AnimatedMode, version);
  if (!Controls.chkResize.Value) return true;
  // An empty working image has nothing to scale; it is left as it is.
  if (WorkImage->Empty()) return true;
  const std::vector<RasterSize> sizes =
      ResampleSizes(device, Controls.chkStepSample.Value, SelectedSteps(Controls.optSteps));
  const bool completed = ResizeThrough(WorkImage, sizes, [this](RasterSize size) {
    SetStatus("Status: Resampling to " + std::to_string(size.width) + "x" + std::to_string(size.height) + "...");
  });
  // On failure the working image stays as it was.
  if (!completed) {
    SetStatus("Status: Error resampling image!");
    Failed("the image cannot be resampled to " + std::to_string(device.width) + " x " +
           std::to_string(device.height));
    return false;
  }
  SetStatus("Status: Done...", false);
  return true;
}

}  // namespace velkor
