// "Save as Animated GIF...": an SRF file chosen in the open dialog, turning
// through its 36 headings, into the GIF named in the save dialog.
#include <optional>

#include "common/Paths.h"
#include "jobs/SrfOutputs.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::mnuSaveAsGIF_Click() {
  const std::optional<std::string> srf = ShowCommonDialog(*this, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!srf || srf->empty()) return;
  const std::string proposed = GetFolderName(*srf) + kPathSeparator + GetBaseName(*srf) + ".gif";
  const std::optional<std::string> gif = ShowCommonDialog(*this, true, "GIF Files|*.gif", kSaveDialogFlags, proposed);
  if (!gif || gif->empty()) return;
  FormProgress progress(*this);
  if (const Result<Done> written = WriteGif(*srf, *gif, progress); !written)
    view_.MessageBox(written.failure().message);
}

}  // namespace velkor
