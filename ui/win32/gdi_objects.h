#pragma once
// Fonts and brushes, made once per distinct value and kept for the program's life.
#include <windows.h>

#include <optional>

#include "ui/design.h"

namespace ui::win32 {

COLORREF ColorRefOf(Colour colour);
// The design's logical font; no font: the system's default GUI font.
HFONT FontOf(const std::optional<Font>& font);
HBRUSH BrushOf(Colour colour);
LOGFONTA LogicalFontOf(const Font& font);

}  // namespace ui::win32
