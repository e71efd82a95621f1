// "Load Image": a strip saved earlier as a BMP file back into the working
// image, neither scaled nor keyed.
#include <exception>

#include "platform/FillRectangle.h"
#include "pipeline/StripLayout.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "raster/cDib.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::cmdLoadImage_Click() {
  CommonDialog& dialog = Controls.CommonDialog1;
  dialog.Filter = "Bitmap Files|*.bmp";
  dialog.Flags = OFN_EXPLORER | OFN_CREATEPROMPT;
  dialog.CancelError = true;
  const std::optional<std::string> chosen =
      view_.FileDialog(FileDialogRequest{false, dialog.Filter, dialog.Flags, dialog.FileName});
  if (!chosen) return;
  dialog.FileName = *chosen;
  if (chosen->empty()) return;
  // Any failure from here on ends the command quietly.
  try {
    ClearPreview();
    if (!platform::FileExists(*chosen)) return;
    if (!ImageLoaded || WorkImage->Empty()) {
      if (!WorkImage->Create(kCanvasSize.width, kCanvasSize.height)) return;
      ImageLoaded = true;
    }
    // Whatever the raster's size; the drawing layer clips the rectangle.
    FillRectangle(WorkImage->hDC(), 1, 1, kCanvasSize.width, kCanvasSize.height, KeyColor);
    cDib bitmap;
    if (bitmap.CreateFromBitmapFile(*chosen) != 0) {
      ImageLoaded = true;
      WorkImage->LoadPictureBlt(bitmap.hDIBDC(), 0, 0, -1, -1, gdi::SRCCOPY);
      bitmap.Destroy();
      DrawPreview(WorkImage->hDC());
    }
  } catch (const std::exception&) {
  }
}

}  // namespace velkor
