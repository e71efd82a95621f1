// LoadPNG: the pixels of a chosen PNG become the working image, copied as they
// are (nothing premultiplied or keyed).
#include <optional>

#include "convert/commands/ConvertFlow.h"
#include "jobs/Conversions.h"
#include "srf/commands/SrfFileFlow.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

std::optional<ChosenPicture> ReadChosenPng(frmMain& form) {
  const std::optional<std::string> chosen = ShowCommonDialog(form, false, "PNG Files|*.png", kOpenDialogFlags);
  if (!chosen || chosen->empty()) return std::nullopt;
  FormProgress progress(form);
  Result<std::unique_ptr<cAlphaDibSection>> image = ReadPng(*chosen, progress);
  if (!image) {
    form.ReportFailure(image.failure());
    return std::nullopt;
  }
  return ChosenPicture{*chosen, std::move(*image)};
}

void SaveInPlaceOfWorkImage(frmMain& form, std::unique_ptr<cAlphaDibSection> picture, const std::string& source,
                            const std::function<void()>& save) {
  const bool loaded = form.ImageLoaded;
  const std::string name = form.LastImageFile;
  std::unique_ptr<cAlphaDibSection> kept = form.ReplaceWorkImage(std::move(picture), source);
  save();
  if (form.LastOutcome.kind == CommandOutcome::Kind::Completed) return;
  form.RestoreWorkImage(std::move(kept), loaded, name);
  if (form.LastOutcome.kind == CommandOutcome::Kind::Cancelled) form.SetStatus(kNothingWrittenStatus);
}

bool frmMain::LoadPNG() {
  std::optional<ChosenPicture> png = ReadChosenPng(*this);
  if (!png) return false;
  ReplaceWorkImage(std::move(png->image), png->path);
  Completed();
  return true;
}

}  // namespace velkor
