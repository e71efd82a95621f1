// The alpha stage of the window: the kernel over the working image with the
// progress bar moving row by row.
#include <exception>

#include "pipeline/KeyColourAlpha.h"
#include "ui/commands/KeyingChoice.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

// The progress after memory row `row` of `height` rows, 0 to 100. A raster
// of one row is done after its only row.
float RowProgress(int32_t row, int32_t height) {
  if (height <= 1) return 100.0f;
  return static_cast<float>(static_cast<double>(row) / (height - 1) * 100);
}

}  // namespace

void frmMain::ShowProgress(bool visible) {
  Controls.ProgressBar1.Visible = visible;
  view_.ProgressVisible(visible);
}

void frmMain::CreateAlphaChannel() {
  EndViewer();
  // An empty working image has nothing to key; it is left as it is.
  if (WorkImage->Empty()) return;
  ShowProgress(true);
  const KeyingParameters parameters{KeyColor, Controls.sldTol.Value, SelectedKeyingRule(Controls)};
  SetStatus("Status: Creating Alpha Channel...");
  try {
    KeyImage(*WorkImage, parameters, [this](int32_t row, int32_t height) {
      SetProgress(RowProgress(row, height));
    });
  } catch (const std::exception&) {
    // The rows done so far stay keyed.
    ShowProgress(false);
    ReportError("An error occured while adding alpha channel!");
    SetStatus("Status: Error occured while adding alpha!");
    return;
  }
  ShowProgress(false);
  DrawPreview(*WorkImage);
  SetStatus("Status: Alpha Channel Done...");
}

}  // namespace velkor
