#pragma once
// do-all --model: the model's frames are rendered into a temporary folder as
// the window's "Render from Model..." would, and the import reads them there.
#include <string>

#include "cli/CliProgress.h"
#include "cli/RenderFlags.h"
#include "jobs/FrameImport.h"
#include "platform/Interruption.h"

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

// Renders `model` for the import's mode, version, key colour, prefix and
// `numbers`, with the render flags, checked as `render` checks them, and
// points the import's sets at the frames. False after the error is printed.
bool RenderModelFirst(const std::string& model, const RenderFlags& flags, const std::string& numbers,
                      ImportSettings& import, TemporaryFrames& frames, CliProgress& progress);

}  // namespace velkor::cli
