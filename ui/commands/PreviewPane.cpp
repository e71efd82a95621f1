// The preview pane: the picture drawn into the pane's back buffer in one of
// three views, panning and zooming with the mouse, and the key colour picked
// from the pane or from the five swatches on the window.
#include "ui/commands/PreviewPane.h"

#include <algorithm>

#include "common/Rounding.h"
#include "common/VbError.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"

namespace velkor {

namespace {

constexpr int kButtonLeft = 1;
constexpr int kShiftOnly = 1;
constexpr uint32_t kPaneWhite = 0xFFFFFF;

// The key colour each swatch stands for; the dark-grey one means black.
constexpr std::array<uint32_t, 5> kSwatchKeyColors = {255, 65280, 16711680, 16777215, 0};

// Where DrawPreview puts the picture: a stretch to (x, y, width, height), or
// a one-to-one copy.
struct PreviewPlacement {
  bool stretch = false;
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// The values a drag step may change. A step is applied all at once: when the
// new pan or the zoomed size leaves the 32-bit range, the previous values stay.
struct DragState {
  float zoom;
  int32_t panX, panY;
};

int Sign(int32_t v) { return (v > 0) - (v < 0); }

// The zoom after one step of `step` in the direction of the vertical move
// (the caller keeps it above zero).
float SteppedZoom(float zoom, int32_t lastY, float y, double step) {
  const int s = Sign(CLng(static_cast<double>(y) - lastY));
  return CSng(static_cast<double>(zoom) + s * step);
}

PreviewPlacement PlacePreview(const ViewOptions& options, int32_t w, int32_t h, float zoom, int32_t panX,
                              int32_t panY) {
  PreviewPlacement p;
  if (options[PreviewPane::kViewZoom]) {
    p.stretch = true;
    p.height = CLng(static_cast<double>(kPlotterHeight) * zoom);
    // The product is a 32-bit integer: a zoom so large that it leaves the
    // range is an overflow, not a wrapped size.
    p.width = CLng(static_cast<double>(MulChecked(w, p.height)) / h);
    p.x = panX;
    p.y = panY;
  } else if (options[PreviewPane::kViewAll]) {
    p.stretch = true;
    p.width = kPlotterWidth;
    p.height = CLng(static_cast<double>(kPlotterWidth) * h / w);
  }
  return p;
}
}  // namespace

PreviewPane::PreviewPane(FormView& view, std::array<OptionButton, 3>& options) : view_(view), options_(options) {
  plotter_.Create(kPlotterWidth, kPlotterHeight);
  FillRectangle(plotter_.hDC(), 0, 0, kPlotterWidth, kPlotterHeight, kPaneWhite);
}

void PreviewPane::DrawPreview(const cAlphaDibSection& picture) {
  const int32_t w = picture.Width();
  const int32_t h = picture.Height();
  const bool havePicture = !picture.Empty() && w > 0 && h > 0;
  // The placement is computed before the pane is touched, so that an overflow
  // leaves the pane as it was.
  const PreviewPlacement p =
      havePicture ? PlacePreview(SelectedOptions(), w, h, zoom_, panX_, panY_) : PreviewPlacement{};

  FillRectangle(plotter_.hDC(), 0, 0, kPlotterWidth, kPlotterHeight, kPaneWhite);
  if (havePicture) {
    if (p.stretch) {
      gdi::StretchBlt(plotter_.hDC(), p.x, p.y, p.width, p.height, picture.hDC(), 0, 0, w, h, gdi::SRCCOPY);
    } else {
      gdi::BitBlt(plotter_.hDC(), 0, 0, w, h, picture.hDC(), 0, 0, gdi::SRCCOPY);
    }
  }
  view_.PreviewChanged();
}

void PreviewPane::ClearPreview() {
  FillRectangle(plotter_.hDC(), 0, 0, kPlotterWidth, kPlotterHeight, kPaneWhite);
  view_.PreviewCleared();
}

void PreviewPane::OptionChosen(int index) {
  if (index == kViewZoom) zoom_ = kInitialZoom;
}

ViewOptions PreviewPane::SelectedOptions() const {
  return {options_[kViewAll].Value, options_[kViewZoom].Value, options_[kViewReal].Value};
}

void PreviewPane::SelectOptions(const ViewOptions& options) {
  options_[kViewAll].Value = options[kViewAll];
  options_[kViewZoom].Value = options[kViewZoom];
  options_[kViewReal].Value = options[kViewReal];
  view_.ControlsChanged();
}

bool PreviewPane::SelectZoom() {
  if (options_[kViewZoom].Value) return false;
  SelectOptions({false, true, false});
  return true;
}

bool PreviewPane::PicksColor(int shift) { return shift == kShiftOnly; }

uint32_t PreviewPane::ColorAt(float x, float y) const {
  const gdi::COLORREF color = gdi::GetPixel(plotter_.hDC(), CLng(x), CLng(y));
  // Beyond the back buffer there is only the pane's white.
  return color == gdi::CLR_INVALID ? kPaneWhite : color;
}

bool PreviewPane::Press(int button, float x, float y) {
  if (dragMode_ != 0) {  // a press while dragging (its release was lost) ends the drag
    dragMode_ = 0;
    return false;
  }
  const int32_t mx = CLng(x), my = CLng(y);
  dragMode_ = button == kButtonLeft ? 1 : 2;
  lastMouseX_ = mx;
  lastMouseY_ = my;
  return true;
}

// Moves the picture by the mouse's travel since the last drag step.
void PreviewPane::PanStep(float x, float y) {
  const int32_t newX = AddChecked(panX_, CLng(static_cast<double>(x) - lastMouseX_));
  const int32_t newY = AddChecked(panY_, CLng(static_cast<double>(y) - lastMouseY_));
  panX_ = newX;
  panY_ = newY;
}

template <typename Step>
bool PreviewPane::StepKeepingValuesOnOverflow(const cAlphaDibSection& shown, Step step) {
  const DragState before{zoom_, panX_, panY_};
  try {
    step();
    DrawPreview(shown);
    return true;
  } catch (const VbError& e) {
    if (e.Number() != kErrOverflow) throw;
    zoom_ = before.zoom;
    panX_ = before.panX;
    panY_ = before.panY;
    return false;
  }
}

void PreviewPane::Move(int button, float x, float y, const cAlphaDibSection& shown) {
  const bool pan = button == kButtonLeft;
  if (dragMode_ != (pan ? 1 : 2)) return;
  const bool done = StepKeepingValuesOnOverflow(shown, [&] {
    if (pan) {
      PanStep(x, y);
    } else {
      SetZoomFactor(SteppedZoom(zoom_, lastMouseY_, y, 0.01));
    }
  });
  if (!done) return;
  const int32_t mx = CLng(x), my = CLng(y);
  lastMouseX_ = mx;
  lastMouseY_ = my;
}

void PreviewPane::Release(float x, float y, const cAlphaDibSection& shown) {
  if (dragMode_ != 1 && dragMode_ != 2) return;
  const bool pan = dragMode_ == 1;
  // The button is up: the drag is over even when its last step cannot be made.
  dragMode_ = 0;
  StepKeepingValuesOnOverflow(shown, [&] {
    if (pan) {
      PanStep(x, y);
    } else {
      SetZoomFactor(SteppedZoom(zoom_, lastMouseY_, y, 0.1));  // ten times the move step
    }
  });
}

void PreviewPane::SetZoomFactor(float factor) { zoom_ = factor > 0 ? factor : 0.01f; }

void PreviewPane::PanTo(int32_t x, int32_t y) {
  panX_ = x;
  panY_ = y;
}

std::optional<uint32_t> PreviewPane::SwatchColor(const std::array<Shape, 5>& swatches, float x, float y) {
  // The swatches are laid out in pixels; the window reports clicks in twips.
  const auto twips = [](int pixels) { return static_cast<float>(pixels) * kTwipsPerPixel; };
  const Geometry& first = swatches.front().Position;
  const float top = twips(first.top);
  if (y < top || y > top + twips(first.height)) return std::nullopt;
  // The last swatch that starts at or left of x decides, even when x is in
  // the gap after it.
  const auto hit = std::find_if(swatches.rbegin(), swatches.rend(),
                                [&](const Shape& swatch) { return twips(swatch.Position.left) <= x; });
  if (hit == swatches.rend()) return std::nullopt;
  const Geometry& g = hit->Position;
  if (x > twips(g.left) + twips(g.width)) return std::nullopt;
  return kSwatchKeyColors[swatches.rend() - hit - 1];
}

}  // namespace velkor
