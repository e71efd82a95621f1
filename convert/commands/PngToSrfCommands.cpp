// "PNG to SRF" and "PNG to Animated SRF": a PNG of exactly an SRF picture's
// size, with something in it, saved as that SRF (a static one in the
// version its size gives). The working image shows it only while it is
// saved, and keeps it only when the SRF was written.
#include "convert/commands/ConvertFlow.h"
#include "srf/SrfFile.h"
#include "srf/commands/SrfFileFlow.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

std::string SizeText(const cAlphaDibSection& image) {
  return std::to_string(image.Width()) + " x " + std::to_string(image.Height());
}

void ConvertPngToSrf(frmMain& form, bool animated) {
  form.EndViewer();
  std::optional<ChosenPicture> png = ReadChosenPng(form);
  if (!png) return;
  const cAlphaDibSection& image = *png->image;
  const SrfVersion* version = SrfVersionForPicture({image.Width(), image.Height()}, animated);
  if (!version) {
    // A larger picture cut to size would make an icon of fragments.
    const bool otherKind = SrfVersionForPicture({image.Width(), image.Height()}, !animated) != nullptr;
    form.ReportError("Cannot convert " + png->path + ": the PNG is " + SizeText(image) + " pixels; " +
                     (animated ? "an animated SRF picture is " : "a static SRF picture is ") +
                     SrfPictureSizesText(animated) + "." +
                     (otherKind ? std::string(" Use \"") + (animated ? "PNG to SRF" : "PNG to Animated SRF") +
                                      "\" for this one."
                                : std::string()));
    form.SetStatus(kNothingWrittenStatus);
    return;
  }
  if (SRFPictureIsTransparent(image, *version)) {
    form.ReportError(kNoVehicleMessage);
    form.SetStatus(kNothingWrittenStatus);
    return;
  }
  SaveInPlaceOfWorkImage(form, std::move(png->image), png->path, [&form, version] {
    version->animated ? form.SaveASRF(version->text) : form.SaveSRF(version->text);
  });
}

}  // namespace

void frmMain::mnuPNGtoSRF_Click() { ConvertPngToSrf(*this, false); }

void frmMain::mnuPNGtoASRF_Click() { ConvertPngToSrf(*this, true); }

}  // namespace velkor
