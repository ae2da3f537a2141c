#pragma once
// The two kinds of control that are drawn by the program itself.
#include <windows.h>

#include <string_view>

namespace ui::win32 {

// Transparent label: its caption is drawn straight onto what lies behind it.
inline constexpr char kLabelClass[] = "CompanionTunerLabel";
LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Stores the caption and repaints the label (what lies behind it first) if it changed.
void SetLabelCaption(HWND label, std::string_view caption);

// Picture button: one picture per state, drawn from its top-left corner, clipped.
inline constexpr char kPictureButtonClass[] = "CompanionTunerPictureButton";
LRESULT CALLBACK PictureButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

HCURSOR HandCursor();

}  // namespace ui::win32
