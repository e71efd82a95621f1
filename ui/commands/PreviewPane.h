#pragma once
// The preview pane: its back buffer, the three views chosen by the option
// buttons, and the zoom and pan that mouse drags change. The window decides
// what picture the pane shows; the pane decides how.
#include <array>
#include <cstdint>
#include <optional>

#include "raster/cAlphaDibSection.h"
#include "ui/Controls.h"
#include "ui/FormView.h"

namespace velkor {

inline constexpr int kPlotterWidth = 693;
inline constexpr int kPlotterHeight = 403;
inline constexpr float kTwipsPerPixel = 15.0f;

// The option buttons' selection: "All", "Zoom", "Real" (none: as "Real").
using ViewOptions = std::array<bool, 3>;

class PreviewPane {
 public:
  static constexpr int kViewAll = 0, kViewZoom = 1, kViewReal = 2;
  static constexpr float kInitialZoom = 2.0f;

  // `options` are the window's view option buttons, which the pane reads and selects.
  PreviewPane(FormView& view, std::array<OptionButton, 3>& options);
  PreviewPane(const PreviewPane&) = delete;
  PreviewPane& operator=(const PreviewPane&) = delete;

  // Draws `picture` into the back buffer by the selected view and has the
  // view paint it. An overflow of the placement leaves the pane as it was.
  void DrawPreview(const cAlphaDibSection& picture);
  void ClearPreview();
  // 693 x 403, white where nothing is drawn.
  cAlphaDibSection& BackBuffer() { return plotter_; }

  // A view option was chosen: "Zoom" starts again from the initial zoom.
  void OptionChosen(int index);
  ViewOptions SelectedOptions() const;
  // Selects `options` on the buttons without drawing.
  void SelectOptions(const ViewOptions& options);
  // Selects "Zoom" as a click on it would; false when it was selected already.
  bool SelectZoom();

  // --- The mouse, in pane pixels
  // A press with Shift alone picks the colour shown at (x, y), never a drag.
  static bool PicksColor(int shift);
  uint32_t ColorAt(float x, float y) const;
  // Starts a pan (left button) or zoom drag (any other), or ends one whose
  // release was lost; true when a drag started.
  bool Press(int button, float x, float y);
  // One drag step, then `shown` drawn again; a step that overflows is not
  // taken. A release ends the drag with a last step, ten times as large for a zoom.
  void Move(int button, float x, float y, const cAlphaDibSection& shown);
  void Release(float x, float y, const cAlphaDibSection& shown);

  // The zoom, never at or below zero; the pan is unbounded.
  void SetZoomFactor(float factor);
  void PanTo(int32_t x, int32_t y);
  float ZoomFactor() const { return zoom_; }
  int32_t PanX() const { return panX_; }
  int32_t PanY() const { return panY_; }
  int32_t DragMode() const { return dragMode_; }  // 0 none, 1 pan, 2 zoom
  int32_t LastMouseX() const { return lastMouseX_; }
  int32_t LastMouseY() const { return lastMouseY_; }

  // The key colour of the swatch at (x, y) on the window, in twips; none in a
  // gap or beside them.
  static std::optional<uint32_t> SwatchColor(const std::array<Shape, 5>& swatches, float x, float y);

 private:
  // Runs `step` and draws `shown`; on an overflow puts the zoom and pan back.
  template <typename Step>
  bool StepKeepingValuesOnOverflow(const cAlphaDibSection& shown, Step step);
  void PanStep(float x, float y);

  FormView& view_;
  std::array<OptionButton, 3>& options_;
  cAlphaDibSection plotter_;
  float zoom_ = kInitialZoom;
  int32_t panX_ = 0, panY_ = 0;
  int32_t dragMode_ = 0;
  int32_t lastMouseX_ = 0, lastMouseY_ = 0;
};

}  // namespace velkor
