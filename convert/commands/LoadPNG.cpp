// LoadPNG: the pixels of a chosen PNG become the working image, copied as they
// are (nothing premultiplied or keyed).
#include <optional>

#include "convert/PngFiles.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

namespace velkor {

bool frmMain::LoadPNG() {
  const std::optional<std::string> chosen = ShowCommonDialog(*this, false, "PNG Files|*.png", kOpenDialogFlags);
  if (!chosen || chosen->empty()) return false;
  std::string problem;
  std::unique_ptr<cAlphaDibSection> image = ReadPngFile(*chosen, problem);
  if (!image) {
    ReportError("Cannot read " + *chosen + ": " + problem);
    SetStatus("Status: Error reading PNG file!");
    return false;
  }
  EndViewer();
  WorkImage = std::move(image);
  ImageLoaded = true;
  DrawPreview(WorkImage->hDC());
  Completed();
  return true;
}

}  // namespace velkor
