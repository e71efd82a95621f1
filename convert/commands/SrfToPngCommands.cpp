// "SRF to PNG" and "Animated SRF to PNG": read the file into the working
// image, then save that as BMP and PNG.
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

void ConvertToPng(frmMain& form, bool (frmMain::*reader)(const std::string&)) {
  const std::optional<std::string> chosen = ShowCommonDialog(form, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!chosen || chosen->empty()) return;
  if (!(form.*reader)(*chosen)) return;  // reported by the reader; nothing is written
  const std::string before = form.Controls.lblStatus.Caption;
  form.SetStatus("Status: Saving to tBMP...");
  if (!form.SaveAsPNG()) return;
  if (form.LastOutcome.kind == CommandOutcome::Kind::Cancelled) {
    form.SetStatus(before);  // nothing was written
    return;
  }
  form.SetStatus("Status: Done...");
}

}  // namespace

void frmMain::mnuSRFtoPNG_Click() { ConvertToPng(*this, &frmMain::ReadSRFFile); }

void frmMain::mnuASRFtoPNG_Click() { ConvertToPng(*this, &frmMain::ReadASRFFile); }

}  // namespace velkor
