#pragma once
// Creating a control of any kind but the timer as a window.
#include <windows.h>

#include "ui/win32/control_window.h"

namespace ui::win32 {

// Creates the control hidden, as a child of `parent`, at its design place, with its font,
// colours, pictures and state; stores its handle in `control`.
void CreateControlWindow(ControlWindow& control, HWND parent);

}  // namespace ui::win32
