// "Save to PNG": the working image as a 32-bit BMP under a chosen name, then
// a PNG of the same picture beside it. The BMP stays on disk.
#include "common/Paths.h"
#include "jobs/Conversions.h"
#include "platform/Files.h"
#include "srf/commands/SrfFileFlow.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

// One question for the pair: true when neither file exists or the user says
// to replace what does.
bool MayReplace(FormView& view, const std::string& bmpFile, const std::string& pngFile) {
  std::vector<std::string> existing;
  for (const std::string& file : {bmpFile, pngFile}) {
    if (platform::FileExists(file)) existing.push_back(file);
  }
  if (existing.empty()) return true;
  return view.AskYesNo(existing.size() == 1
                           ? existing[0] + " already exists.\nDo you want to replace it?"
                           : existing[0] + " and " + existing[1] + " already exist.\nDo you want to replace them?");
}

}  // namespace

void frmMain::Command2_Click() {
  EndViewer();
  if (ImageLoaded) SaveAsPNG();
}

bool frmMain::SaveAsPNG() {
  if (LastImageFile.empty()) LastImageFile = JoinPath(platform::ProgramFolder(), "Temp.bmp");
  // The dialog does not ask about replacing the BMP: the question below asks
  // once about both files.
  const std::optional<std::string> chosen =
      ShowCommonDialog(*this, true, "Bitmap Files|*.bmp", kSaveDialogFlags & ~OFN_OVERWRITEPROMPT, LastImageFile);
  if (!chosen || chosen->empty() || !MayReplace(view_, *chosen, PngNameFor(*chosen))) {
    Cancelled();
    SetStatus(kNothingWrittenStatus);
    return true;
  }
  LastImageFile = *chosen;
  FormProgress progress(*this);
  if (const Result<Done> saved = SavePngPair(*WorkImage, LastImageFile, progress); !saved) {
    ReportFailure(saved.failure());
    return false;
  }
  Completed();
  return true;
}

}  // namespace velkor
