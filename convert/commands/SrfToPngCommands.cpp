// "SRF to PNG" and "Animated SRF to PNG": read the file, then save its picture
// as BMP and PNG beside it (or where the user says). The working image shows
// the picture only while it is saved, and keeps it only when both were
// written.
#include "convert/commands/ConvertFlow.h"
#include "srf/commands/SrfFileFlow.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

void ConvertToPng(frmMain& form, bool animated) {
  form.EndViewer();
  const std::optional<std::string> chosen = ShowCommonDialog(form, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!chosen || chosen->empty()) return;
  std::unique_ptr<cAlphaDibSection> picture = ReadSRFPicture(form, *chosen, animated);
  if (!picture) return;  // reported by the reader; nothing is written
  SaveInPlaceOfWorkImage(form, std::move(picture), *chosen, [&form] {
    form.SetStatus("Status: Saving to tBMP...");
    if (form.SaveAsPNG() && form.LastOutcome.kind == CommandOutcome::Kind::Completed) form.SetStatus("Status: Done...");
  });
}

}  // namespace

void frmMain::mnuSRFtoPNG_Click() { ConvertToPng(*this, false); }

void frmMain::mnuASRFtoPNG_Click() { ConvertToPng(*this, true); }

}  // namespace velkor
