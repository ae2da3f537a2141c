#pragma once
// Where a minimised window will be restored, in screen pixels. The system keeps it in
// workspace coordinates, which start at the work area's corner (left of a taskbar at the top
// or the left), so both are converted here.
#include <windows.h>

#include "platform/desktop.h"

namespace ui::win32 {

platform::Rect RestoredRect(HWND hwnd);
// Leaves the window minimised, shown or hidden as it is, and does not activate it.
void SetRestoredRect(HWND hwnd, const platform::Rect& rect);

}  // namespace ui::win32
