#pragma once
// Mouse buttons, modifier keys and key codes as the window's handlers take
// them: button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; key
// codes of the virtual-key table (27 Escape, 37 to 40 the arrows, ...).
#include <Qt>

namespace velkor::qt {

int ButtonMask(Qt::MouseButtons buttons);
int ShiftMask(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a Qt key, 0 for keys the table has no code for.
int VirtualKeyCode(int qtKey);

}  // namespace velkor::qt
