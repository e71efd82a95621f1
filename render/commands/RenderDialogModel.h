#pragma once
// The render dialog without its widgets: the options of one render, the
// model loaded for the preview, and what the dialog's buttons do to them.
// The Qt dialog shows and edits it; tests drive it directly. Any change of
// the model, the axes, the camera or the key colour calls for a new preview.
#include <string>

#include "render/PreviewFrames.h"
#include "render/RenderOptions.h"
#include "render/Scene.h"
#include "ui/FormView.h"

namespace velkor::render {

class RenderDialogModel {
 public:
  RenderDialogModel(FormView& view, RenderOptions start);

  // Edited in place for the plain fields (folder, prefix, animation model,
  // elevation, fill, key colour); the setters below keep the rest consistent.
  RenderOptions options;

  // Loads the model, guesses its axes and proposes a new folder beside it
  // named after it ("bus frames"). When it cannot be read the message box
  // names the file, and nothing else changes.
  bool SetModel(const std::string& path);
  // Loads options.model again, keeping the axes (the model the window
  // remembers); false, quietly, when it is gone or changed beyond reading.
  bool Reload();
  bool Loaded() const { return loaded_; }
  const Scene& Model() const { return scene_; }

  // Either axis chosen in its box: the other follows when they would no
  // longer be perpendicular.
  void SetUp(Axis up);
  void SetFront(Axis front);
  // "Turn front 90°": the front through the four horizontal directions.
  void TurnFront();
  // "Flip up": the next up axis, with the front guessed for it.
  void FlipUp();

  // What keeps OK from rendering: no model loaded, or the options' problem.
  std::string Problem() const;
  // The three preview frames at `size` pixels.
  bool Preview(int size, PreviewImages& images, std::string& error) const;
  // "Static SRF, version 2.20" or "Animated SRF, version 1.00".
  std::string ModeText() const;
  // The model file dialog's filter: every format the loader reads, then "All files".
  static FileDialogRequest ModelFileRequest(const std::string& current);

 private:
  FormView& view_;
  Scene scene_;
  bool loaded_ = false;
};

// The folder proposed for a model's frames: "<name> frames" beside it, or
// "<name> frames 2", 3, ... where that exists.
std::string ProposedFolder(const std::string& model);

}  // namespace velkor::render
