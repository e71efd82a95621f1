#pragma once
// The folder picker behind the "Change" buttons. BrowseForFolder remembers the
// folder to preselect and asks the window's view for a folder; the view's
// picker calls BrowseCallbackProc when it opens and whenever its selection
// changes, and the callback answers with messages to the picker.
#include <cstdint>
#include <string>

#include "ui/FormView.h"

namespace velkor {

// Notifications from the picker to its callback.
inline constexpr uint32_t BFFM_INITIALIZED = 1;
inline constexpr uint32_t BFFM_SELCHANGED = 2;
// Messages from the callback to the picker.
inline constexpr uint32_t BFFM_SETSTATUSTEXTA = 1124;  // lParam: text for the picker's status line
inline constexpr uint32_t BFFM_SETSELECTIONA = 1126;   // wParam 1: lParam is a path to select

// Only file-system folders, not below the domain, with a status line.
inline constexpr uint32_t kBrowseFlags = 7;

// The picker window as its callback addresses it.
class FolderPickerWindow {
 public:
  virtual ~FolderPickerWindow() = default;
  virtual void SendMessageA(uint32_t message, uintptr_t wParam, const std::string& lParam) = 0;
};

// Shows the picker titled `title`, opening on `startFolder`; the chosen
// folder, or "" when the user cancelled.
std::string BrowseForFolder(FormView& owner, const std::string& title, const std::string& startFolder);

// The picker's callback. For BFFM_INITIALIZED it selects the stored folder;
// for BFFM_SELCHANGED `argument` is the new selection, whose full path goes
// to the status line when it is a file-system folder. Always 0; errors
// inside are swallowed so that the picker keeps working.
int BrowseCallbackProc(FolderPickerWindow& window, uint32_t message, const std::string& argument, intptr_t data);

// The folder that the last BrowseForFolder asked to preselect.
std::string PreselectedFolder();

}  // namespace velkor
