// "Save as Animated GIF...": an SRF file chosen in the open dialog, turning
// through its 36 headings, into the GIF named in the save dialog.
#include <optional>

#include "common/Paths.h"
#include "convert/AnimatedGif.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::mnuSaveAsGIF_Click() {
  const std::optional<std::string> srf = ShowCommonDialog(*this, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!srf || srf->empty()) return;
  const std::string proposed = GetFolderName(*srf) + kPathSeparator + GetBaseName(*srf) + ".gif";
  const std::optional<std::string> gif = ShowCommonDialog(*this, true, "GIF Files|*.gif", kSaveDialogFlags, proposed);
  if (!gif || gif->empty()) return;
  SetStatus("Status: Writing GIF...");
  std::string error;
  if (!WriteSRFAsGif(*srf, *gif, error)) {
    view_.MessageBox("The animated GIF was not written: " + error);
    SetStatus("Status: Error writing GIF!");
    return;
  }
  SetStatus("Status: GIF written....");
}

}  // namespace velkor
