// "PNG to SRF" and "PNG to Animated SRF": a PNG of exactly an SRF picture's
// size, with something in it, saved as that SRF (a static one in the
// version its size gives). The working image shows it only while it is
// saved, and keeps it only when the SRF was written.
#include "convert/commands/ConvertFlow.h"
#include "jobs/Conversions.h"
#include "srf/commands/SrfFileFlow.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

void ConvertPngToSrf(frmMain& form, bool animated) {
  form.EndViewer();
  std::optional<ChosenPicture> png = ReadChosenPng(form);
  if (!png) return;
  FormProgress progress(form);
  const Result<const SrfVersion*> fits = SrfVersionOfPng(*png->image, png->path, animated, progress);
  if (!fits) {
    form.ReportFailure(fits.failure());
    return;
  }
  const SrfVersion* version = *fits;
  SaveInPlaceOfWorkImage(form, std::move(png->image), png->path, [&form, version] {
    version->animated ? form.SaveASRF(version->text) : form.SaveSRF(version->text);
  });
}

}  // namespace

void frmMain::mnuPNGtoSRF_Click() { ConvertPngToSrf(*this, false); }

void frmMain::mnuPNGtoASRF_Click() { ConvertPngToSrf(*this, true); }

}  // namespace velkor
