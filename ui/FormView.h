#pragma once
// What the window's procedures need of the screen. The Qt window, the command
// line's headless view and the tests' recording view implement it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkor {

namespace render {
class RenderDialogModel;
}

struct FileDialogRequest {
  bool save = false;     // save dialog; otherwise open
  std::string filter;    // "Description|*.ext"
  uint32_t flags = 0;    // OFN_* flags: 0x2 overwrite prompt, 0x2000 create prompt, 0x80000 explorer
  std::string fileName;  // initial name
};

inline constexpr uint32_t OFN_OVERWRITEPROMPT = 0x2;
inline constexpr uint32_t OFN_CREATEPROMPT = 0x2000;
inline constexpr uint32_t OFN_EXPLORER = 0x80000;

class FormView {
 public:
  virtual ~FormView() = default;
  // The status line changed; with `repaint` it must show at once.
  virtual void StatusChanged(const std::string& text, bool repaint) = 0;
  virtual void ProgressVisible(bool visible) = 0;
  virtual void ProgressValue(float value) = 0;
  // A message box with an OK button and the application's title.
  virtual void MessageBox(const std::string& text) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The index of the entry of `choices` the user picked, or none when cancelled.
  virtual std::optional<size_t> ChooseOne(const std::string& text, const std::vector<std::string>& choices) = 0;
  // The chosen path, or none when the user cancelled.
  virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;
  // The chosen folder, or "" when cancelled; opens on `startFolder`.
  virtual std::string BrowseForFolder(const std::string& title, const std::string& startFolder) = 0;
  // The render dialog over `dialog` (render/commands/RenderDialogModel.h):
  // true when the user pressed OK.
  virtual bool ShowRenderDialog(render::RenderDialogModel& dialog) = 0;
  virtual void DoEvents() = 0;
  // The preview pane was cleared, or its back buffer redrawn and must be shown.
  virtual void PreviewCleared() = 0;
  virtual void PreviewChanged() = 0;
  virtual void TimerChanged(bool enabled, int intervalMs) = 0;
  // Control texts or states changed (the window resyncs its widgets).
  virtual void ControlsChanged() = 0;
};

}  // namespace velkor
