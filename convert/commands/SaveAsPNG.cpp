// "Save to PNG": the working image as a 32-bit BMP under a chosen name, then
// a PNG of the same picture beside it. The BMP stays on disk.
#include "common/Paths.h"
#include "common/VbError.h"
#include "convert/PngFiles.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "srf/commands/SrfFileFlow.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

bool ReportWriteFailure(frmMain& form, const std::string& message, const std::string& status) {
  form.ReportError(message);
  form.SetStatus(status);
  return false;
}

std::string LastErrorSuffix() {
  const int error = platform::GetLastError();
  return error == 0 ? std::string() : ": " + platform::ApiErrorText(error);
}

// The PNG's name: the BMP's folder and its name up to the first dot, so
// a.b.bmp gives a.png.
std::string PngNameFor(const std::string& bmpFile) { return PathWithExtension(bmpFile, ".png"); }

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
  SetStatus("Status: Writing 32-bit BMP...");
  platform::SetLastError(0);
  try {
    if (!WorkImage->SavePicture(LastImageFile)) {
      return ReportWriteFailure(*this, "Cannot write the BMP file " + LastImageFile + LastErrorSuffix(),
                                "Status: Error writing BMP file!");
    }
  } catch (const VbError& e) {
    return ReportWriteFailure(*this, "Cannot write the BMP file " + LastImageFile + ": " + e.Description(),
                              "Status: Error writing BMP file!");
  }

  SetStatus("Status: Converting 32-bit BMP to PNG...");
  const std::string pngFile = PngNameFor(LastImageFile);
  // From the raster just written, not from decoding the BMP again.
  const BmpToPng written = ConvertRasterToPng(*WorkImage, pngFile);
  if (written == BmpToPng::BmpUnreadable) {
    return ReportWriteFailure(*this, "Cannot convert " + LastImageFile + " to PNG: FreeImage cannot read it",
                              "Status: Error writing PNG file!");
  }
  if (written == BmpToPng::PngNotWritten) {
    return ReportWriteFailure(*this, "Cannot write the PNG file " + pngFile + LastErrorSuffix(),
                              "Status: Error writing PNG file!");
  }
  SetStatus("Status: Idle...");
  Completed();
  return true;
}

}  // namespace velkor
