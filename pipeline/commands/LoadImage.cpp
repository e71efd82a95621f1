// "Load Image": a strip saved earlier as a BMP file back into the working
// image, neither scaled nor keyed.
#include <algorithm>
#include <exception>
#include <memory>

#include "common/Paths.h"
#include "common/VbError.h"
#include "pipeline/StripLayout.h"
#include "platform/Files.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "raster/cDib.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {
std::string SizeText(int32_t width, int32_t height) { return std::to_string(width) + " x " + std::to_string(height); }
}  // namespace

void frmMain::cmdLoadImage_Click() {
  EndViewer();
  CommonDialog& dialog = Controls.CommonDialog1;
  dialog.Filter = "Bitmap Files|*.bmp";
  dialog.Flags = OFN_EXPLORER | OFN_CREATEPROMPT;
  dialog.CancelError = true;
  const std::optional<std::string> chosen =
      view_.FileDialog(FileDialogRequest{false, dialog.Filter, dialog.Flags, dialog.FileName});
  if (!chosen || chosen->empty()) {
    Cancelled();
    return;
  }
  dialog.FileName = *chosen;
  const std::string& file = *chosen;
  // The strip the next steps expect in this mode and version: a smaller
  // BMP lies in its top-left corner on the key colour, a larger one is cut.
  const std::optional<StripLayout> layout =
      StripLayoutFor(AnimatedMode, AnimatedMode ? AnimatedSrfVersion().text : NormalisedVersion());
  const auto refuse = [this, &file](const std::string& why) {
    ReportError("Cannot load " + file + ": " + why);
    SetStatus("Status: Error loading image!");
  };
  cDib bitmap;
  try {
    if (!platform::FileExists(file)) return refuse("the file does not exist.");
    if (bitmap.CreateFromBitmapFile(file) == 0) {
      return refuse(
          "it is not a BMP file this program can read, or its header claims more pixels than the file holds.");
    }
  } catch (const VbError& e) {
    return refuse(e.Description());
  } catch (const std::bad_alloc&) {
    return refuse("not enough memory for its pixels.");
  }
  auto strip = std::make_unique<cAlphaDibSection>();
  if (!layout || !strip->Create(layout->width, layout->height)) {
    return refuse("the " + (layout ? SizeText(layout->width, layout->height) : std::string("composite")) +
                  " strip cannot be created.");
  }
  // All of it: a pixel left out would be keyed as opaque black.
  FillRectangle(strip->hDC(), 0, 0, layout->width, layout->height, KeyColor);
  strip->LoadPictureBlt(bitmap.hDIBDC(), 0, 0, std::min(bitmap.Width(), layout->width),
                        std::min(bitmap.Height(), layout->height), gdi::SRCCOPY);
  const std::string loaded = SizeText(bitmap.Width(), bitmap.Height());
  bitmap.Destroy();
  // The working image is replaced only now that the new one is complete.
  ReplaceWorkImage(std::move(strip), file);
  SetStatus("Status: Loaded " + file + " (" + loaded + ") into the " + SizeText(layout->width, layout->height) +
            " strip");
  Completed();
}

}  // namespace velkor
