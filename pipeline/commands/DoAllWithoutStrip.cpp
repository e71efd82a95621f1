// "Do All" for the command line. Nobody sees the strip there, and the resize
// to the device size reads only two source rows and two source columns per
// device pixel, so the strip keeps only those (SampledStrip): a few MB
// instead of touching a 43 MB strip once. Step-sampling's first pass reads
// nearly every pixel; it takes the window's way.
#include <exception>

#include "pipeline/DeviceSize.h"
#include "raster/SampledStrip.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::DoAllWithoutStrip() {
  const std::string version = AnimatedMode ? "1.00" : NormalisedVersion();
  const RasterSize device = DeviceSizeFor(AnimatedMode, version);
  int steps = 0;
  for (int i = 0; i < 3; ++i) {
    if (Controls.optSteps[static_cast<size_t>(i)].Value) steps = i + 1;
  }
  if (!Controls.chkResize.Value || ResampleSizes(device, Controls.chkStepSample.Value, steps).size() != 1) {
    cmdSave_Click();
    return;
  }
  // As cmdSave_Click: an import that stopped early still has its strip
  // resized, keyed and offered for saving (the command line refuses the
  // save), so the statuses are the window's step for step.
  SampledStrip strip;
  if (BuildSampledStrip(version, strip, device)) {
    // As ResizeToDeviceSize says it, for the one step there is.
    SetStatus("Status: Resampling to " + std::to_string(device.width) + "x" + std::to_string(device.height) +
              "...");
    std::unique_ptr<cAlphaDibSection> resampled;
    try {
      resampled = strip.Resample();
    } catch (const std::exception&) {
      resampled.reset();
    }
    if (!resampled) {
      SetStatus("Status: Error resampling image!");
      Failed("the image cannot be resampled to " + std::to_string(device.width) + " x " +
             std::to_string(device.height));
      return;
    }
    WorkImage = std::move(resampled);
    SetStatus("Status: Done...", false);
    DrawPreview(WorkImage->hDC());
    CreateAlphaChannel();
  } else {
    WorkImage->ClearUp();  // as the window's strip that could not be created leaves it
  }
  if (AnimatedMode) {
    SaveASRF(version);
    return;
  }
  if (!ApplyUnsharpMask()) return;
  SaveSRF(version);
}

}  // namespace velkor
