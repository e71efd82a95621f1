// The preview pane: the working image drawn into the pane's back buffer in
// one of three views, panning and zooming with the mouse, and the key colour
// picked from the pane or from the five swatches on the window.
#include <array>

#include "platform/FillRectangle.h"
#include "common/Rounding.h"
#include "common/VbError.h"
#include "platform/Gdi.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

// Options of optZoom: 0 "All", 1 "Zoom", 2 "Real" (also the view with nothing selected).
constexpr int kViewAll = 0, kViewZoom = 1;
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

// The zoom after one step of `step` in the direction of the vertical move;
// never at or below zero.
float SteppedZoom(float zoom, int32_t lastY, float y, double step) {
  const int s = Sign(CLng(static_cast<double>(y) - lastY));
  float result = CSng(static_cast<double>(zoom) + s * step);
  if (!(result > 0)) result = 0.01f;
  return result;
}

PreviewPlacement PlacePreview(const FormControls& c, int32_t w, int32_t h, float zoom, int32_t panX,
                              int32_t panY) {
  PreviewPlacement p;
  if (c.optZoom[kViewZoom].Value) {
    p.stretch = true;
    p.height = CLng(static_cast<double>(kPlotterHeight) * zoom);
    // The product is a 32-bit integer: a zoom so large that it leaves the
    // range is an overflow, not a wrapped size.
    p.width = CLng(static_cast<double>(MulChecked(w, p.height)) / h);
    p.x = panX;
    p.y = panY;
  } else if (c.optZoom[kViewAll].Value) {
    p.stretch = true;
    p.width = kPlotterWidth;
    p.height = CLng(static_cast<double>(kPlotterWidth) * h / w);
  }
  return p;
}
}  // namespace

void frmMain::DrawPreview(const cAlphaDibSection& picture) {
  const int32_t w = picture.Width();
  const int32_t h = picture.Height();
  const bool havePicture = !picture.Empty() && w > 0 && h > 0;
  // The placement is computed before the pane is touched, so that an overflow
  // leaves the pane as it was.
  const PreviewPlacement p =
      havePicture ? PlacePreview(Controls, w, h, ZoomFactor, PanX, PanY) : PreviewPlacement{};

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

void frmMain::RedrawPreview() { DrawPreview(ViewerShowing ? *ViewerCanvas : *WorkImage); }

void frmMain::optZoom_Click(int index) {
  if (!ImageLoaded && !ViewerShowing) return;
  if (index == kViewZoom) ZoomFactor = 2.0f;
  RedrawPreview();
}

namespace {
// Selects the "Zoom" option as a click on it would; the option's handler runs
// only when the selection changes.
void SelectZoomOption(frmMain& form) {
  auto& options = form.Controls.optZoom;
  if (options[kViewZoom].Value) return;
  for (size_t i = 0; i < options.size(); ++i) options[i].Value = (i == static_cast<size_t>(kViewZoom));
  form.View().ControlsChanged();
  form.optZoom_Click(kViewZoom);
}
}  // namespace

void frmMain::Plotter_MouseDown(int button, int shift, float x, float y) {
  if (shift == kShiftOnly) {
    gdi::COLORREF color = gdi::GetPixel(plotter_.hDC(), CLng(x), CLng(y));
    // Beyond the back buffer there is only the pane's white.
    if (color == gdi::CLR_INVALID) color = kPaneWhite;
    SetKeyColor(color);
    return;
  }
  if (DragMode != 0) {  // a press while dragging (its release was lost) ends the drag
    DragMode = 0;
    return;
  }
  const int32_t mx = CLng(x), my = CLng(y);
  DragMode = button == kButtonLeft ? 1 : 2;
  LastMouseX = mx;
  LastMouseY = my;
  SelectZoomOption(*this);
}

namespace {
// Moves the picture by the mouse's travel since the last drag step.
void PanStep(frmMain& form, float x, float y) {
  const int32_t newX = AddChecked(form.PanX, CLng(static_cast<double>(x) - form.LastMouseX));
  const int32_t newY = AddChecked(form.PanY, CLng(static_cast<double>(y) - form.LastMouseY));
  form.PanX = newX;
  form.PanY = newY;
}

// Runs one drag step and redraws; an overflow in the step or the redraw
// puts the pan and zoom back as they were.
template <typename Step>
bool DragStepKeepingValuesOnOverflow(frmMain& form, Step step) {
  const DragState before{form.ZoomFactor, form.PanX, form.PanY};
  try {
    step();
    form.RedrawPreview();
    return true;
  } catch (const VbError& e) {
    if (e.Number() != kErrOverflow) throw;
    form.ZoomFactor = before.zoom;
    form.PanX = before.panX;
    form.PanY = before.panY;
    return false;
  }
}
}  // namespace

void frmMain::Plotter_MouseMove(int button, int shift, float x, float y) {
  (void)shift;
  const bool pan = button == kButtonLeft;
  if (DragMode != (pan ? 1 : 2)) return;
  const bool done = DragStepKeepingValuesOnOverflow(*this, [&] {
    if (pan) {
      PanStep(*this, x, y);
    } else {
      ZoomFactor = SteppedZoom(ZoomFactor, LastMouseY, y, 0.01);
    }
  });
  if (!done) return;
  const int32_t mx = CLng(x), my = CLng(y);
  LastMouseX = mx;
  LastMouseY = my;
}

void frmMain::Plotter_MouseUp(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  if (DragMode != 1 && DragMode != 2) return;
  const bool pan = DragMode == 1;
  // The button is up: the drag is over even when its last step cannot be made.
  DragMode = 0;
  DragStepKeepingValuesOnOverflow(*this, [&] {
    if (pan) {
      PanStep(*this, x, y);
    } else {
      ZoomFactor = SteppedZoom(ZoomFactor, LastMouseY, y, 0.1);  // ten times the move step
    }
  });
}

void frmMain::Form_MouseDown(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  // The swatches are laid out in pixels; the window reports clicks in twips.
  const auto twips = [](int pixels) { return static_cast<float>(pixels) * kTwipsPerPixel; };
  const Geometry& first = Controls.shpRGB[0].Position;
  const float top = twips(first.top);
  if (y < top || y > top + twips(first.height)) return;
  for (int i = static_cast<int>(Controls.shpRGB.size()) - 1; i >= 0; --i) {
    const Geometry& g = Controls.shpRGB[i].Position;
    if (twips(g.left) > x) continue;
    if (x <= twips(g.left) + twips(g.width)) SetKeyColor(kSwatchKeyColors[i]);
    return;  // the first swatch at or left of x decides, even when x is in its gap
  }
}

}  // namespace velkor
