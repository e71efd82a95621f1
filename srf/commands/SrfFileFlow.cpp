#include "srf/commands/SrfFileFlow.h"

#include "common/Paths.h"
#include "platform/Files.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

// Named after the working image's BMP (beside the file it came from), else
// in the frame folder, else in the folder of the last file chosen, else in
// the user's home: never the root, which an empty folder joined with the
// name would give.
std::string ProposedSRFName(const frmMain& form) {
  if (!form.LastImageFile.empty()) return PathWithExtension(form.LastImageFile, ".srf");
  std::string folder = form.RotationDir3D;
  if (folder.empty()) folder = GetFolderName(form.Controls.CommonDialog1.FileName);
  if (folder.empty()) folder = platform::HomeFolder();
  return JoinPath(folder, "Temp.srf");
}

}  // namespace

void RunSRFSaveFlow(frmMain& form, const SrfVersion& version, const std::function<bool(const std::string&)>& write) {
  const std::string before = form.Controls.lblStatus.Caption;
  if (!form.ImageLoaded) {
    form.Failed("there is no image to save");
    return;
  }
  FormProgress progress(form);
  if (const Result<Done> fit = CheckSrfHasVehicle(*form.WorkImage, version, progress); !fit) {
    form.ReportFailure(fit.failure());
    return;
  }
  form.SetStatus(SrfWritingStatus(version));
  const std::optional<std::string> path =
      ShowCommonDialog(form, true, "Garmin SRF Files|*.srf", kSaveDialogFlags, ProposedSRFName(form));
  if (path && !path->empty()) {
    write(*path);
    return;
  }
  // Nothing is being written: the line says again what it said before.
  form.SetStatus(before);
}

bool WriteSRFOf(frmMain& form, const std::string& path, const SrfVersion& version) {
  FormProgress progress(form);
  if (const Result<Done> written = WriteSrf(*form.WorkImage, version, path, progress); !written) {
    form.ReportFailure(written.failure());
    return false;
  }
  form.Completed();
  return true;
}

std::unique_ptr<cAlphaDibSection> ReadSRFPicture(frmMain& form, const std::string& path, bool animated) {
  FormProgress progress(form);
  Result<std::unique_ptr<cAlphaDibSection>> read = ReadSrf(path, animated, progress);
  if (!read) {
    form.ReportFailure(read.failure());
    return nullptr;
  }
  form.ClearPreview();
  return std::move(*read);
}

bool FinishSRFRead(frmMain& form, std::unique_ptr<cAlphaDibSection> raster, const std::string& path) {
  if (!raster) return false;
  form.ReplaceWorkImage(std::move(raster), path);
  form.SetStatus("Status: Done...");
  form.Completed();
  return true;
}

}  // namespace velkor
