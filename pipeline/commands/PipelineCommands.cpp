// The build pipeline's buttons and the stages they chain: import, resize and
// key, sharpen, save.
#include <exception>
#include <memory>

#include "pipeline/DeviceSize.h"
#include "ui/commands/frmMain.h"

namespace velkor {

bool frmMain::AddAlphaChannel(const std::string& version) {
  EndViewer();
  if (WorkImage->Empty()) return true;
  if (!ResizeToDeviceSize(version)) return false;
  DrawPreview(*WorkImage);
  CreateAlphaChannel();
  return true;
}

bool frmMain::ApplyUnsharpMask() {
  EndViewer();
  // An empty working image has nothing to sharpen; it is left as it is.
  if (WorkImage->Empty()) return true;
  SetStatus("Status: Applying Unsharp Mask....", false);
  std::unique_ptr<cAlphaDibSection> sharpened;
  try {
    sharpened = WorkImage->UnsharpMask();
  } catch (const std::exception&) {
    sharpened.reset();
  }
  if (!sharpened) {
    SetStatus("Status: Error applying unsharp mask!");
    Failed("the unsharp mask cannot be applied");
    return false;
  }
  WorkImage = std::move(sharpened);
  DrawPreview(*WorkImage);
  SetStatus("Status: Done....");
  return true;
}

void frmMain::cmdGo_Click() {
  BuildCompositeImage(NormalisedVersion());
  // A folder without a single frame gives a strip of key colour only; the
  // status line alone would not say why.
  if (LastImport != ImportOutcome::Complete && ImportedFrames == 0 && !ImportProblem.empty()) {
    view_.MessageBox(ImportProblem);
  }
}

bool frmMain::ImportStopped() {
  // A 2D frame that could not be read leaves an empty cell: an icon with a
  // hole is not one to save either.
  if (LastImport == ImportOutcome::Complete && SkippedFrame.empty()) return false;
  // The import's error status stays on the status line under the message.
  const std::string problem = LastImport == ImportOutcome::Complete ? SkippedFrame
                              : ImportProblem.empty()               ? "The frames could not be imported."
                                                                    : ImportProblem;
  ReportError(problem + "\nDo All stopped: no SRF file was written.");
  return true;
}

void frmMain::cmdAddAlpha_Click() {
  const std::string version = NormalisedVersion();
  if (ImageLoaded) AddAlphaChannel(version);
}

void frmMain::cmdUnsharpMask_Click() { ApplyUnsharpMask(); }

void frmMain::cmdMakeSRF_Click() {
  EndViewer();
  // The writer cuts the records from the bottom rows of the picture: from an
  // unresized strip that would be a corner of it, written as an icon.
  const std::string version = AnimatedMode ? "1.00" : NormalisedVersion();
  const RasterSize device = DeviceSizeFor(AnimatedMode, version);
  if (ImageLoaded && !WorkImage->Empty() &&
      (WorkImage->Width() != device.width || WorkImage->Height() != device.height)) {
    ReportError("The image is " + std::to_string(WorkImage->Width()) + " x " + std::to_string(WorkImage->Height()) +
                " pixels; " + (AnimatedMode ? std::string("an animated SRF") : "an SRF version " + version) +
                " needs " + std::to_string(device.width) + " x " + std::to_string(device.height) +
                ". Use Alpha+Resize first (with \"Resize to work with Garmin\" checked).");
    return;
  }
  if (AnimatedMode) {
    SaveASRF("1.00");
  } else {
    SaveSRF(NormalisedVersion());
  }
}

// "Do All". An import that stopped early stops the chain before any dialog:
// a partly filled strip would be saved as an icon with missing headings. So
// does a stage that could not make its raster.
void frmMain::cmdSave_Click() {
  if (!FramesFromOneRender()) return;
  if (AnimatedMode) {
    const std::string version = "1.00";
    BuildCompositeImage(version);
    if (ImportStopped()) return;
    if (!AddAlphaChannel(version)) return;
    SaveASRF(version);
    return;
  }
  const std::string version = NormalisedVersion();
  BuildCompositeImage(version);
  if (ImportStopped()) return;
  if (!AddAlphaChannel(version)) return;
  if (!ApplyUnsharpMask()) return;
  SaveSRF(version);
}

}  // namespace velkor
