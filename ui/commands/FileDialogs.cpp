#include "ui/commands/FileDialogs.h"

#include "ui/commands/frmMain.h"

namespace velkor {

std::optional<std::string> ShowCommonDialog(frmMain& form, bool save, const std::string& filter, uint32_t flags,
                                            const std::optional<std::string>& fileName) {
  CommonDialog& dialog = form.Controls.CommonDialog1;
  dialog.Filter = filter;
  dialog.Flags = flags;
  if (fileName) dialog.FileName = *fileName;
  FileDialogRequest request;
  request.save = save;
  request.filter = filter;
  request.flags = flags;
  request.fileName = dialog.FileName;
  std::optional<std::string> chosen = form.View().FileDialog(request);
  if (chosen) dialog.FileName = *chosen;
  if (!chosen || chosen->empty()) form.Cancelled();
  return chosen;
}

}  // namespace velkor
