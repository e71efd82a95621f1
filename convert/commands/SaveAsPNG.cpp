// "Save to PNG": the working image as a 32-bit BMP under a chosen name, then
// a PNG of the same picture beside it. The BMP stays on disk.
#include "common/Paths.h"
#include "common/VbError.h"
#include "convert/PngFiles.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
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
std::string PngNameFor(const std::string& bmpFile) {
  return GetFolderName(bmpFile) + kPathSeparator + GetBaseName(bmpFile) + ".png";
}

}  // namespace

void frmMain::Command2_Click() {
  if (ImageLoaded) SaveAsPNG();
}

bool frmMain::SaveAsPNG() {
  if (LastImageFile.empty()) LastImageFile = JoinPath(platform::ProgramFolder(), "Temp.bmp");
  const std::optional<std::string> chosen =
      ShowCommonDialog(*this, true, "Bitmap Files|*.bmp", kSaveDialogFlags, LastImageFile);
  if (!chosen) return true;
  if (!chosen->empty()) {
    // The dialog asked about the BMP only; the PNG beside it was not chosen
    // and is replaced only when the user says so.
    const std::string pngFile = PngNameFor(*chosen);
    if (platform::FileExists(pngFile) &&
        !view_.AskYesNo(pngFile + " already exists.\nDo you want to replace it?")) {
      Cancelled();
      return true;
    }
  }
  LastImageFile = *chosen;
  if (!LastImageFile.empty()) {
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
  }
  SetStatus("Status: Idle...");
  if (!LastImageFile.empty()) Completed();
  return true;
}

}  // namespace velkor
