// The alpha stage: the key colour becomes transparency, and every pixel's
// colour is premultiplied by its new alpha, as painting and the SRF writers
// expect.
#include "pipeline/KeyColourAlpha.h"

#include <cstdlib>
#include <exception>

#include "common/Rounding.h"
#include "pipeline/KeyingRule.h"
#include "ui/frmMain.h"

namespace velkor {

uint8_t KeyAlpha(int distanceB, int distanceG, int distanceR, int tolerance, bool binaryRule) {
  const bool within = distanceB <= tolerance && distanceG <= tolerance && distanceR <= tolerance;
  if (!within) return 255;
  if (binaryRule || tolerance == 0) return 0;
  const double mean = RoundHalfEven((distanceB + distanceG + distanceR) / 3.0);
  return CByte(mean / tolerance * 255);
}

namespace {

// The progress after memory row `row` of `height` rows, 0 to 100. A raster
// of one row is done after its only row.
float RowProgress(int32_t row, int32_t height) {
  if (height <= 1) return 100.0f;
  return static_cast<float>(static_cast<double>(row) / (height - 1) * 100);
}

}  // namespace

void frmMain::CreateAlphaChannel() {
  // An empty working image has nothing to key; it is left as it is.
  if (WorkImage->Empty()) return;
  if (SelectedKeyingRule(Controls) == KeyingRule::CleanEdges) return CreateCleanEdgeAlpha();
  Controls.ProgressBar1.Visible = true;
  view_.ProgressVisible(true);
  const int tolerance = Controls.sldTol.Value;
  const int keyR = static_cast<int>(KeyColor & 0xFF);
  const int keyG = static_cast<int>((KeyColor >> 8) & 0xFF);
  const int keyB = static_cast<int>((KeyColor >> 16) & 0xFF);
  const bool binaryRule = Controls.chkImagesNotAntiAliased.Value;
  SetStatus("Status: Creating Alpha Channel...");
  try {
    const int32_t width = WorkImage->Width();
    const int32_t height = WorkImage->Height();
    const int64_t stride = WorkImage->BytesPerScanLine();
    for (int32_t row = 0; row < height; ++row) {
      uint8_t* pixel = WorkImage->DIBSectionBitsPtr() + row * stride;
      for (int32_t x = 0; x < width; ++x, pixel += 4) {
        const int alpha = KeyAlpha(std::abs(pixel[0] - keyB), std::abs(pixel[1] - keyG),
                                   std::abs(pixel[2] - keyR), tolerance, binaryRule);
        for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(pixel[c] * alpha / 255);
        pixel[3] = static_cast<uint8_t>(alpha);
      }
      Controls.ProgressBar1.Value = RowProgress(row, height);
      view_.ProgressValue(Controls.ProgressBar1.Value);
    }
  } catch (const std::exception&) {
    // The rows done so far stay keyed.
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
