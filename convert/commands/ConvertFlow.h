#pragma once
// What the conversions of the window share: the PNG chosen and read aside,
// and the picture converted shown in place of the working image only while
// it is saved.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "raster/cAlphaDibSection.h"

namespace velkor {

class frmMain;

struct ChosenPicture {
  std::string path;
  std::unique_ptr<cAlphaDibSection> image;
};

// The PNG chosen in the open dialog, read aside; none when the dialog was
// cancelled or the file cannot be read (after a message naming it).
std::optional<ChosenPicture> ReadChosenPng(frmMain& form);

// Shows `picture` (read from `source`) as the working image while `save`
// runs. Unless the save completes, the working image the command found comes
// back with its name and the pane; after a cancel the status says that
// nothing was written.
void SaveInPlaceOfWorkImage(frmMain& form, std::unique_ptr<cAlphaDibSection> picture, const std::string& source,
                            const std::function<void()>& save);

}  // namespace velkor
