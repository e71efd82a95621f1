#pragma once
// The SRF viewer: a static SRF's icon over the device-screen picture, on a
// canvas of its own, turned through its 36 headings by the arrow keys or by
// the window's timer. While it shows, the pane shows its canvas at real size;
// the working image is never touched.
#include <memory>
#include <string>

#include "raster/cAlphaDibSection.h"
#include "ui/Controls.h"
#include "ui/FormView.h"
#include "ui/commands/PreviewPane.h"

namespace velkor {

// What the viewer shows, made aside before anything is replaced.
struct ViewerPictures {
  std::unique_ptr<cAlphaDibSection> icon;       // 36 headings of 80 x 80 side by side
  std::unique_ptr<cAlphaDibSection> backPatch;  // the screen under the icon cell
  std::unique_ptr<cAlphaDibSection> canvas;     // the device screen, 14400 x 750
  std::string refusal;                          // why the file cannot be shown; empty when it can
};

// Reads the icon of `srfFile` and lays out the device screen.
ViewerPictures ReadViewerPictures(const std::string& srfFile);

class SrfViewer {
 public:
  SrfViewer(FormView& view, PreviewPane& pane);
  SrfViewer(const SrfViewer&) = delete;
  SrfViewer& operator=(const SrfViewer&) = delete;

  // Shows `pictures` at the heading shown last, the pane in "Real" (the view
  // options it replaces come back with End).
  void Show(ViewerPictures pictures);
  // Stops the rotation; when the viewer showed, gives the view options back,
  // drops the canvas and returns true (the caller shows the working image).
  bool End();
  // One heading on, while the viewer shows; a tick queued before it ended
  // only stops the timer.
  void Tick();
  // The arrows turn (Left, Right) or pace (Up, Down) the icon; Escape is
  // taken for the caller to End the viewer. True when the key was the
  // viewer's (only while it shows).
  bool KeyDown(int keyCode);
  // Closing, after End (which dropped the canvas): the icon and the back
  // patch released.
  void Release();

  bool Showing() const { return showing_; }
  int32_t FrameLeft() const { return frameLeft_; }  // of the heading shown, in the icon
  const Timer& Timer1() const { return timer_; }
  const cAlphaDibSection& Icon() const { return *icon_; }
  const cAlphaDibSection& BackPatch() const { return *backPatch_; }
  const cAlphaDibSection& Canvas() const { return *canvas_; }

 private:
  void SetTimer(bool enabled, int interval);
  // Puts the background back under the cell, blends the current heading over
  // it and shows the canvas.
  void DrawViewerFrame();

  FormView& view_;
  PreviewPane& pane_;
  std::unique_ptr<cAlphaDibSection> icon_ = std::make_unique<cAlphaDibSection>();
  std::unique_ptr<cAlphaDibSection> backPatch_ = std::make_unique<cAlphaDibSection>();
  std::unique_ptr<cAlphaDibSection> canvas_ = std::make_unique<cAlphaDibSection>();
  int32_t frameLeft_ = 0;
  bool showing_ = false;
  ViewOptions replacedOptions_{};  // the view options "Real" replaced
  Timer timer_;
};

}  // namespace velkor
