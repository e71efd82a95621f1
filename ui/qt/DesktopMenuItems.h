#pragma once
// The menu entries that take a finished SRF file out of the program: to a
// device plugged in over USB, and to an animated GIF for sharing.
class QMenu;

namespace velkor::qt {

class MainWindow;

void AddDesktopMenuItems(MainWindow& window, QMenu* menu);

}  // namespace velkor::qt
