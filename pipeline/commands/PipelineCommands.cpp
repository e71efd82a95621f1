// The build pipeline's buttons and the stages they chain: import, resize and
// key, sharpen, save.
#include <exception>
#include <memory>

#include "ui/commands/frmMain.h"

namespace velkor {

bool frmMain::AddAlphaChannel(const std::string& version) {
  if (WorkImage->Empty()) return true;
  if (!ResizeToDeviceSize(version)) return false;
  DrawPreview(WorkImage->hDC());
  CreateAlphaChannel();
  return true;
}

bool frmMain::ApplyUnsharpMask() {
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
  DrawPreview(WorkImage->hDC());
  SetStatus("Status: Done....");
  return true;
}

void frmMain::cmdGo_Click() { BuildCompositeImage(NormalisedVersion()); }

void frmMain::cmdAddAlpha_Click() {
  const std::string version = NormalisedVersion();
  if (ImageLoaded) AddAlphaChannel(version);
}

void frmMain::cmdUnsharpMask_Click() { ApplyUnsharpMask(); }

void frmMain::cmdMakeSRF_Click() {
  if (AnimatedMode) {
    SaveASRF("1.00");
  } else {
    SaveSRF(NormalisedVersion());
  }
}

// "Do All". An import that stopped early does not stop the chain: the partly
// filled strip is still resized, keyed and offered for saving. A stage that
// could not make its raster does, as there is no sound image to go on with.
void frmMain::cmdSave_Click() {
  if (AnimatedMode) {
    const std::string version = "1.00";
    BuildCompositeImage(version);
    if (!AddAlphaChannel(version)) return;
    SaveASRF(version);
    return;
  }
  const std::string version = NormalisedVersion();
  BuildCompositeImage(version);
  if (!AddAlphaChannel(version)) return;
  if (!ApplyUnsharpMask()) return;
  SaveSRF(version);
}

}  // namespace velkor
