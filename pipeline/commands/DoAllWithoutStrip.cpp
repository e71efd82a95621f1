// "Do All" for the command line. Nobody sees the strip there, and the resize
// to the device size reads only two source rows and two source columns per
// device pixel, so the strip keeps only those (SampledStrip): a few MB
// instead of touching a 43 MB strip once. Step-sampling's first pass reads
// nearly every pixel; it takes the window's way.
#include <exception>

#include "common/Paths.h"
#include "pipeline/DeviceSize.h"
#include "pipeline/NumberingScheme.h"
#include "raster/SampledStrip.h"
#include "pipeline/commands/StepOptions.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::DoAllWithoutStrip() {
  const std::string version = AnimatedMode ? "1.00" : NormalisedVersion();
  const RasterSize device = DeviceSizeFor(AnimatedMode, version);
  const int steps = SelectedSteps(Controls.optSteps);
  if (!Controls.chkResize.Value || ResampleSizes(device, Controls.chkStepSample.Value, steps).size() != 1) {
    cmdSave_Click();
    return;
  }
  // As cmdSave_Click, step for step: an import that did not complete ends
  // the command with its message, before anything is saved.
  SampledStrip strip;
  BuildSampledStrip(version, strip, device);
  if (ImportStopped()) return;
  // As ResizeToDeviceSize says it, for the one step there is.
  SetStatus("Status: Resampling to " + std::to_string(device.width) + "x" + std::to_string(device.height) + "...");
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
  SetStatus("Status: Done...", false);
  ReplaceWorkImage(std::move(resampled), IconNameForFrames(RotationDir3D, Trim(Controls.txt3DPrefix[1].Text)));
  CreateAlphaChannel();
  if (AnimatedMode) {
    SaveASRF(version);
    return;
  }
  if (!ApplyUnsharpMask()) return;
  SaveSRF(version);
}

}  // namespace velkor
