// The folder picker wrapper and the "Change" buttons of the folder rows.
#include <string_view>

#include "common/Paths.h"
#include "pipeline/GuessPrefix.h"
#include "platform/Files.h"
#include "ui/commands/frmMain.h"
#include "ui/modBrowseDirs.h"

namespace velkor {

namespace {
// The folder to preselect, followed by one NUL as the picker expects it.
// Only one picker is open at a time, and it is modal.
std::string g_preselect(1, '\0');

std::string BeforeFirstNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }
}  // namespace

std::string BrowseForFolder(FormView& owner, const std::string& title, const std::string& startFolder) {
  g_preselect = startFolder + '\0';
  return BeforeFirstNul(owner.BrowseForFolder(title, startFolder));
}

std::string PreselectedFolder() { return BeforeFirstNul(g_preselect); }

int BrowseCallbackProc(FolderPickerWindow& window, uint32_t message, const std::string& argument, intptr_t data) {
  (void)data;
  try {
    if (message == BFFM_INITIALIZED) {
      window.SendMessageA(BFFM_SETSELECTIONA, 1, PreselectedFolder());
    } else if (message == BFFM_SELCHANGED) {
      // Only a selection that is a folder of the file system has a path.
      if (platform::FolderExists(argument)) window.SendMessageA(BFFM_SETSTATUSTEXTA, 0, argument);
    }
  } catch (...) {
    // The picker must keep working whatever its status line does.
  }
  return 0;
}

// A cancelled picker leaves the boxes as the user typed them: the folder in
// a box is worth more than the empty answer of a dismissed dialog.
void frmMain::cmdChangeDir_Click(int index) {
  const bool rotation = index == 1;
  const int i = rotation ? 1 : 2;
  const char* title = rotation ? "Select New 3D Rotation Directory" : "Select New 3D Animation Directory";
  const std::string folder3D = BrowseForFolder(view_, title, Trim(Controls.txtWorkDir[i].Text));
  if (folder3D.empty()) return;

  const std::string folder2D = JoinPath(folder3D, "Top");
  ShowFrameFolders(i, folder3D, folder2D, GuessPrefix(folder3D), GuessPrefix(folder2D));
  view_.ControlsChanged();
}

void frmMain::ShowFrameFolders(int item, const std::string& folder3D, const std::string& folder2D,
                               const std::string& prefix3D, const std::string& prefix2D) {
  Controls.txtWorkDir[item].Text = folder3D;
  Controls.txt2DWorkDir[item].Text = folder2D;
  Controls.txt3DPrefix[item].Text = prefix3D;
  Controls.txt2DPrefix[item].Text = prefix2D;
  (item == 1 ? RotationDir3D : AnimationDir3D) = folder3D;
  (item == 1 ? RotationDir2D : AnimationDir2D) = folder2D;
}

void frmMain::cmdChange2DDir_Click(int index) {
  if (index != 1 && index != 2) return;
  const std::string folder = BrowseForFolder(view_, "Select New 2D Directory", Trim(Controls.txt2DWorkDir[index].Text));
  if (folder.empty()) return;
  (index == 1 ? RotationDir2D : AnimationDir2D) = folder;
  Controls.txt2DWorkDir[index].Text = folder;
  view_.ControlsChanged();
}

}  // namespace velkor
