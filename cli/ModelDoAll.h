#pragma once
// do-all --model: the model's frames are rendered into a temporary folder as
// the window's "Render from Model..." would, and the folder boxes point there.
#include <string>

#include "cli/HeadlessView.h"
#include "platform/Interruption.h"
#include "render/RenderOptions.h"
#include "ui/commands/frmMain.h"

namespace velkor::cli {

// A temporary folder, removed with its contents when this goes, or when the
// program is interrupted.
class TemporaryFrames {
 public:
  TemporaryFrames() = default;
  ~TemporaryFrames();
  TemporaryFrames(const TemporaryFrames&) = delete;
  TemporaryFrames& operator=(const TemporaryFrames&) = delete;
  bool Create(std::string& error);
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  platform::InterruptCleanup removedOnInterrupt_;
};

// False (the error reported on the view) when the model cannot be rendered.
// `options` are the window's with the render flags applied and a folder in a
// TemporaryFrames.
bool RenderModelIntoForm(const render::RenderOptions& options, frmMain& form, HeadlessView& view);

}  // namespace velkor::cli
