#pragma once
// A job's progress shown in the window: statuses on the status line, the
// progress bar, stage pictures in the preview pane, DoEvents while it works.
#include "jobs/Progress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

class FormProgress : public Progress {
 public:
  explicit FormProgress(frmMain& form) : form_(form) {}
  void Status(const std::string& text, bool repaint = true) override { form_.SetStatus(text, repaint); }
  void Bar(bool visible) override { form_.ShowProgress(visible); }
  void Fraction(float percent) override { form_.SetProgress(percent); }
  void Picture(const cAlphaDibSection& picture) override { form_.DrawPreview(picture); }
  void Yield() override { form_.View().DoEvents(); }
  void Frames(int done, int total) override {
    form_.SetProgress(100.0f * static_cast<float>(done) / static_cast<float>(total));
    form_.View().DoEvents();
  }

 private:
  frmMain& form_;
};

}  // namespace velkor
