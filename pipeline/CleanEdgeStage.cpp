// The alpha stage under the clean edges rule: the working image is keyed from
// a copy of itself, since each pixel's estimate reads its neighbours as they
// were before keying.
#include <exception>
#include <vector>

#include "pipeline/CleanEdgeKey.h"
#include "ui/frmMain.h"

namespace velkor {

void frmMain::CreateCleanEdgeAlpha() {
  Controls.ProgressBar1.Visible = true;
  view_.ProgressVisible(true);
  SetStatus("Status: Creating Alpha Channel...");
  try {
    const int32_t width = WorkImage->Width();
    const int32_t height = WorkImage->Height();
    uint8_t* bits = WorkImage->DIBSectionBitsPtr();
    const std::vector<uint8_t> source(bits,
                                      bits + static_cast<size_t>(WorkImage->BytesPerScanLine()) * height);
    for (int32_t row = 0; row < height; ++row) {
      CleanEdgeKeyRows(source.data(), bits, width, height, KeyColor, row, row + 1);
      Controls.ProgressBar1.Value =
          height <= 1 ? 100.0f : static_cast<float>(static_cast<double>(row) / (height - 1) * 100);
      view_.ProgressValue(Controls.ProgressBar1.Value);
    }
  } catch (const std::exception&) {
    Controls.ProgressBar1.Visible = false;
    view_.ProgressVisible(false);
    view_.MessageBox("An error occured while adding alpha channel!");
    SetStatus("Status: Error occured while adding alpha!");
    return;
  }
  Controls.ProgressBar1.Visible = false;
  view_.ProgressVisible(false);
  DrawPreview(WorkImage->hDC());
  SetStatus("Status: Alpha Channel Done...");
}

}  // namespace velkor
