#pragma once
// The system's autocomplete drop-down on an edit box, listing what a source suggests.
#include "ui/win32/win32_backend.h"

namespace ui::win32 {

// Where the system has no autocomplete object, the edit box stays as it is.
void AttachAutoComplete(HWND edit, SuggestionSource source);

}  // namespace ui::win32
