// The SRF viewer: a static SRF's icon over the device-screen picture, turned
// through its 36 headings by the arrow keys or by the window's timer.
#include <algorithm>
#include <exception>
#include <optional>

#include "pipeline/StripLayout.h"
#include "sample/DeviceScreen.h"
#include "ui/KeyCodes.h"
#include "srf/SrfPreviewLoader.h"
#include "platform/FillRectangle.h"
#include "common/Paths.h"
#include "platform/AssetFolder.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "raster/cDib.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

constexpr int32_t kCanvasWidth = kCanvasSize.width, kCanvasHeight = kCanvasSize.height;
// The icon cell on the device screen, in picture coordinates.
constexpr int32_t kCellLeft = sample::kIconCellX, kCellTop = sample::kIconCellY, kCellSize = sample::kIconCellSize;
constexpr int32_t kLastFrameLeft = 2800;  // the 36th frame
// The viewer turns a static icon: 36 headings of one cell each in its first picture.
constexpr int32_t kIconStripWidth = kFramesPerSet * kCellSize;
constexpr int kMinInterval = 50, kMaxInterval = 1000, kIntervalStep = 50;


std::string BackgroundPicturePath() { return JoinPath(platform::AssetFolder(), "Garmin760.bmp"); }

void SetTimer(frmMain& form, bool enabled, int interval) {
  form.Controls.Timer1.Enabled = enabled;
  form.Controls.Timer1.Interval = interval;
  form.View().TimerChanged(enabled, interval);
}

std::string Describe(const std::exception& e) { return e.what(); }

// The device screen is 480 x 272 pixels: only "Real" shows it at its size
// ("All" shrinks the canvas strip to a speck).
void ShowRealSize(FormControls& c) {
  for (size_t i = 0; i < c.optZoom.size(); ++i) c.optZoom[i].Value = i == 2;
}

}  // namespace

void frmMain::mnuSRFViewer_Click() {
  EndViewer();
  const std::optional<std::string> chosen = ShowCommonDialog(*this, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!chosen || chosen->empty()) return;
  ShowSRFInViewer(*chosen);
}

void frmMain::ShowSRFInViewer(const std::string& srfFile) {
  const auto refuse = [this, &srfFile](const std::string& why) {
    ReportError("The SRF file " + srfFile + " cannot be shown: " + why);
  };
  if (!platform::FileExists(srfFile)) return refuse("it does not exist.");
  auto icon = std::make_unique<cAlphaDibSection>();
  try {
    CreateFromGarminSRF(*icon, srfFile);
  } catch (const std::exception& e) {
    return refuse(Describe(e));
  }
  if (icon->Width() != kIconStripWidth || icon->Height() < kCellSize) {
    // An animated SRF's rotation cells are 90 pixels wide: cut at 80 they
    // would show halves of two headings.
    return refuse("its rotation picture is " + std::to_string(icon->Width()) +
                  " pixels wide, the viewer turns static SRF icons of " + std::to_string(kFramesPerSet) +
                  " headings of " + std::to_string(kCellSize) + " x " + std::to_string(kCellSize) + " pixels (" +
                  std::to_string(kIconStripWidth) + " pixels wide). Animated SRF files cannot be shown in the viewer.");
  }
  const std::string backgroundFile = BackgroundPicturePath();
  cDib background;
  try {
    if (background.CreateFromBitmapFile(backgroundFile) == 0) {
      return refuse("the device screen picture " + backgroundFile + " cannot be read as a BMP file.");
    }
  } catch (const std::exception& e) {
    return refuse("the device screen picture cannot be loaded: " + Describe(e));
  }
  auto canvas = std::make_unique<cAlphaDibSection>();
  auto patch = std::make_unique<cAlphaDibSection>();
  if (!canvas->Create(kCanvasWidth, kCanvasHeight) || !patch->Create(kCellSize, kCellSize)) {
    return refuse("there is not enough memory for its canvas.");
  }
  // Where the cell runs past the background picture the canvas is white, and
  // so is the patch that restores it.
  FillRectangle(canvas->hDC(), 0, 0, kCanvasWidth, kCanvasHeight, 0xFFFFFF);
  FillRectangle(patch->hDC(), 0, 0, kCellSize, kCellSize, 0xFFFFFF);
  patch->LoadPictureBlt(background.hDIBDC(), kCellLeft, kCellTop, kCellSize, kCellSize);
  canvas->LoadPictureBlt(background.hDIBDC(), 0, 0, kCanvasWidth, kCanvasHeight);

  EndViewer();  // a viewer already showing gives back the view options it took
  ViewerImage = std::move(icon);
  ViewerBackPatch = std::move(patch);
  ViewerCanvas = std::move(canvas);
  ViewerShowing = true;
  zoomBeforeViewer_.clear();
  for (const auto& option : Controls.optZoom) zoomBeforeViewer_.push_back(option.Value);
  ShowRealSize(Controls);
  view_.ControlsChanged();
  DrawViewerFrame();
  Completed();
}

void frmMain::EndViewer() {
  if (Controls.Timer1.Enabled) SetTimer(*this, false, Controls.Timer1.Interval);
  if (!ViewerShowing) return;
  ViewerShowing = false;
  ViewerCanvas = std::make_unique<cAlphaDibSection>();
  for (size_t i = 0; i < Controls.optZoom.size() && i < zoomBeforeViewer_.size(); ++i) {
    Controls.optZoom[i].Value = zoomBeforeViewer_[i];
  }
  view_.ControlsChanged();
  RedrawPreview();
}

void frmMain::DrawViewerFrame() {
  // Put back the background under the cell, then blend the current frame
  // over it. Before the first viewer command all three rasters are empty and
  // neither step paints anything.
  ViewerBackPatch->PaintPicture(ViewerCanvas->hDC(), kCellLeft, kCellTop, kCellSize, kCellSize, 0, 0,
                                gdi::SRCCOPY);
  ViewerImage->AlphaPaintPicture(ViewerCanvas->hDC(), kCellLeft, kCellTop, kCellSize, kCellSize,
                                 ViewerFrameLeft, 0, 255);
  RedrawPreview();
}

namespace {
int32_t NextFrame(int32_t left) { return left + kCellSize > kLastFrameLeft ? 0 : left + kCellSize; }
int32_t PreviousFrame(int32_t left) { return left - kCellSize < 0 ? kLastFrameLeft : left - kCellSize; }
}  // namespace

void frmMain::Timer1_Timer() {
  // A tick queued before the viewer ended must not paint into the new image.
  if (!ViewerShowing) {
    EndViewer();
    return;
  }
  ViewerFrameLeft = NextFrame(ViewerFrameLeft);
  DrawViewerFrame();
}

bool frmMain::Form_KeyDown(int keyCode, int shift) {
  (void)shift;
  if (!ViewerShowing) return false;
  const int interval = Controls.Timer1.Interval;
  switch (keyCode) {
    case kKeyEscape:
      SetTimer(*this, false, interval);
      EndViewer();
      break;
    case kKeyLeft:
      SetTimer(*this, false, interval);
      ViewerFrameLeft = PreviousFrame(ViewerFrameLeft);
      DrawViewerFrame();
      break;
    case kKeyRight:
      SetTimer(*this, false, interval);
      ViewerFrameLeft = NextFrame(ViewerFrameLeft);
      DrawViewerFrame();
      break;
    case kKeyUp:  // faster
      SetTimer(*this, true, std::max(interval - kIntervalStep, kMinInterval));
      break;
    case kKeyDown:  // slower
      SetTimer(*this, true, std::min(interval + kIntervalStep, kMaxInterval));
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace velkor
