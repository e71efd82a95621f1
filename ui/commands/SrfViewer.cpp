// The SRF viewer: a static SRF's icon over the device-screen picture, turned
// through its 36 headings by the arrow keys or by the window's timer.
#include "ui/commands/SrfViewer.h"

#include <algorithm>
#include <exception>

#include "common/Paths.h"
#include "pipeline/StripLayout.h"
#include "platform/AssetFolder.h"
#include "platform/Files.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "raster/cDib.h"
#include "sample/DeviceScreen.h"
#include "srf/SrfPreviewLoader.h"
#include "ui/KeyCodes.h"

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

std::string Describe(const std::exception& e) { return e.what(); }

ViewerPictures Refused(const std::string& why) {
  ViewerPictures refused;
  refused.refusal = why;
  return refused;
}

int32_t NextFrame(int32_t left) { return left + kCellSize > kLastFrameLeft ? 0 : left + kCellSize; }
int32_t PreviousFrame(int32_t left) { return left - kCellSize < 0 ? kLastFrameLeft : left - kCellSize; }

}  // namespace

ViewerPictures ReadViewerPictures(const std::string& srfFile) {
  if (!platform::FileExists(srfFile)) return Refused("it does not exist.");
  auto icon = std::make_unique<cAlphaDibSection>();
  try {
    CreateFromGarminSRF(*icon, srfFile);
  } catch (const std::exception& e) {
    return Refused(Describe(e));
  }
  if (icon->Width() != kIconStripWidth || icon->Height() < kCellSize) {
    // An animated SRF's rotation cells are 90 pixels wide: cut at 80 they
    // would show halves of two headings.
    return Refused("its rotation picture is " + std::to_string(icon->Width()) +
                   " pixels wide, the viewer turns static SRF icons of " + std::to_string(kFramesPerSet) +
                   " headings of " + std::to_string(kCellSize) + " x " + std::to_string(kCellSize) + " pixels (" +
                   std::to_string(kIconStripWidth) +
                   " pixels wide). Animated SRF files cannot be shown in the viewer.");
  }
  const std::string backgroundFile = BackgroundPicturePath();
  cDib background;
  try {
    if (background.CreateFromBitmapFile(backgroundFile) == 0) {
      return Refused("the device screen picture " + backgroundFile + " cannot be read as a BMP file.");
    }
  } catch (const std::exception& e) {
    return Refused("the device screen picture cannot be loaded: " + Describe(e));
  }
  auto canvas = std::make_unique<cAlphaDibSection>();
  auto patch = std::make_unique<cAlphaDibSection>();
  if (!canvas->Create(kCanvasWidth, kCanvasHeight) || !patch->Create(kCellSize, kCellSize)) {
    return Refused("there is not enough memory for its canvas.");
  }
  // Where the cell runs past the background picture the canvas is white, and
  // so is the patch that restores it.
  FillRectangle(canvas->hDC(), 0, 0, kCanvasWidth, kCanvasHeight, 0xFFFFFF);
  FillRectangle(patch->hDC(), 0, 0, kCellSize, kCellSize, 0xFFFFFF);
  patch->LoadPictureBlt(background.hDIBDC(), kCellLeft, kCellTop, kCellSize, kCellSize);
  canvas->LoadPictureBlt(background.hDIBDC(), 0, 0, kCanvasWidth, kCanvasHeight);
  return {std::move(icon), std::move(patch), std::move(canvas), {}};
}

SrfViewer::SrfViewer(FormView& view, PreviewPane& pane) : view_(view), pane_(pane) {}

void SrfViewer::SetTimer(bool enabled, int interval) {
  timer_.Enabled = enabled;
  timer_.Interval = interval;
  view_.TimerChanged(enabled, interval);
}

void SrfViewer::Show(ViewerPictures pictures) {
  icon_ = std::move(pictures.icon);
  backPatch_ = std::move(pictures.backPatch);
  canvas_ = std::move(pictures.canvas);
  showing_ = true;
  replacedOptions_ = pane_.SelectedOptions();
  // The device screen is 480 x 272 pixels: only "Real" shows it at its size
  // ("All" shrinks the canvas strip to a speck).
  pane_.SelectOptions({false, false, true});
  DrawViewerFrame();
}

bool SrfViewer::End() {
  if (timer_.Enabled) SetTimer(false, timer_.Interval);
  if (!showing_) return false;
  showing_ = false;
  canvas_ = std::make_unique<cAlphaDibSection>();
  pane_.SelectOptions(replacedOptions_);
  return true;
}

void SrfViewer::DrawViewerFrame() {
  // Put back the background under the cell, then blend the current frame
  // over it.
  backPatch_->PaintPicture(canvas_->hDC(), kCellLeft, kCellTop, kCellSize, kCellSize, 0, 0, gdi::SRCCOPY);
  icon_->AlphaPaintPicture(canvas_->hDC(), kCellLeft, kCellTop, kCellSize, kCellSize, frameLeft_, 0, 255);
  pane_.DrawPreview(*canvas_);
}

void SrfViewer::Tick() {
  // A tick queued before the viewer ended must not paint into the new image.
  if (!showing_) {
    End();
    return;
  }
  frameLeft_ = NextFrame(frameLeft_);
  DrawViewerFrame();
}

bool SrfViewer::KeyDown(int keyCode) {
  if (!showing_) return false;
  const int interval = timer_.Interval;
  switch (keyCode) {
    case kKeyEscape:  // the form ends the viewer, and End stops the rotation
      break;
    case kKeyLeft:
      SetTimer(false, interval);
      frameLeft_ = PreviousFrame(frameLeft_);
      DrawViewerFrame();
      break;
    case kKeyRight:
      SetTimer(false, interval);
      frameLeft_ = NextFrame(frameLeft_);
      DrawViewerFrame();
      break;
    case kKeyUp:  // faster
      SetTimer(true, std::max(interval - kIntervalStep, kMinInterval));
      break;
    case kKeyDown:  // slower
      SetTimer(true, std::min(interval + kIntervalStep, kMaxInterval));
      break;
    default: return false;
  }
  return true;
}

void SrfViewer::Release() {
  icon_->Destroy();
  backPatch_->Destroy();
}

}  // namespace velkor
