#pragma once
// The window model's backend on Windows: real windows and controls, drawn as the designs say.
#include <windows.h>
// windows.h names CreateWindow as a macro, which would rename the backend's member.
#undef CreateWindow

#include "ui/backend.h"

namespace ui::win32 {

// The program's one Win32 backend; its window classes are registered when first asked for.
ui::Backend& Win32Backend();

// Dialog keys for the message loop's pre-translate hook: Tab and Shift+Tab move between a
// window's enabled tab stops, Enter in a one-line edit box does nothing, and Esc closes a
// window whose design says so, wherever its focus is. True when the key has been handled.
bool PreTranslateDialogKeys(MSG& message);

}  // namespace ui::win32
