// The build pipeline's buttons: each reads the boxes, runs its job and shows
// how it ended.
#include <memory>

#include "jobs/DoAll.h"
#include "pipeline/DeviceSize.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::ShowProgress(bool visible) {
  Controls.ProgressBar1.Visible = visible;
  view_.ProgressVisible(visible);
}

void frmMain::ReportFailure(const Failure& failure) {
  failure.quiet ? Failed(failure.message) : ReportError(failure.message);
}

bool frmMain::ResizeToDeviceSize(const std::string& version) {
  FormProgress progress(*this);
  const Result<Done> done =
      ResizeToDevice(WorkImage, DeviceSizeFor(AnimatedMode, version), FinishingSettings(), progress);
  if (!done) ReportFailure(done.failure());
  return static_cast<bool>(done);
}

bool frmMain::AddAlphaChannel(const std::string& version) {
  EndViewer();
  FormProgress progress(*this);
  const Result<Done> done =
      ResizeAndKey(WorkImage, DeviceSizeFor(AnimatedMode, version), FinishingSettings(), progress);
  if (!done) ReportFailure(done.failure());
  return static_cast<bool>(done);
}

void frmMain::CreateAlphaChannel() {
  EndViewer();
  FormProgress progress(*this);
  if (const Result<Done> done = KeyPicture(*WorkImage, FinishingSettings().keying, progress); !done) {
    ReportFailure(done.failure());
  }
}

bool frmMain::ApplyUnsharpMask() {
  EndViewer();
  FormProgress progress(*this);
  const Result<Done> done = Sharpen(WorkImage, progress);
  if (!done) ReportFailure(done.failure());
  return static_cast<bool>(done);
}

void frmMain::cmdGo_Click() {
  const Result<ImportedStrip, ImportStop> imported = BuildCompositeImage(NormalisedVersion());
  // A folder without a single frame gives a strip of key colour only; the
  // status line alone would not say why.
  if (!imported && imported.failure().imported == 0 && !imported.failure().message.empty()) {
    view_.MessageBox(imported.failure().message);
  }
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
  const SrfVersion& version = AnimatedMode ? AnimatedSrfVersion() : StaticSrfVersion(NormalisedVersion());
  const RasterSize device = version.device();
  if (ImageLoaded && !WorkImage->Empty() &&
      (WorkImage->Width() != device.width || WorkImage->Height() != device.height)) {
    ReportError("The image is " + std::to_string(WorkImage->Width()) + " x " + std::to_string(WorkImage->Height()) +
                " pixels; " +
                (AnimatedMode ? std::string("an animated SRF") : "an SRF version " + std::string(version.text)) +
                " needs " + std::to_string(device.width) + " x " + std::to_string(device.height) +
                ". Use Alpha+Resize first (with \"Resize to work with Garmin\" checked).");
    return;
  }
  AnimatedMode ? SaveASRF(version.text) : SaveSRF(version.text);
}

// "Do All": the job builds the icon, showing every stage; the window keeps
// the last completed stage's picture, and asks where to save only when the
// icon is complete (a partly filled strip would be an icon with missing
// headings).
void frmMain::cmdSave_Click() {
  if (!FramesFromOneRender()) return;
  EndViewer();
  const std::string version = AnimatedMode ? AnimatedSrfVersion().text : NormalisedVersion();
  const DoAllSettings settings{FrameSettings(version), FinishingSettings(), true};
  const std::string name = IconNameForFrames(settings.import.sets[0].folder, settings.import.sets[0].prefix);
  FormProgress progress(*this);
  std::unique_ptr<cAlphaDibSection> lastStage;
  Result<DoAllOutcome> done = DoAll(settings, progress, &lastStage);
  if (!done) {
    lastStage ? void(ReplaceWorkImage(std::move(lastStage), name)) : RedrawPreview();
    ReportFailure(done.failure());
    return;
  }
  ReplaceWorkImage(std::move(done->icon), name);
  AnimatedMode ? SaveASRF(version) : SaveSRF(version);
}

}  // namespace velkor
