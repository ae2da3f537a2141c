// The transparent label.
#include <string>

#include "ui/win32/control_window.h"
#include "ui/win32/custom_controls.h"
#include "ui/win32/gdi_objects.h"
#include "ui/win32/paint.h"
#include "ui/win32/window_data.h"

namespace ui::win32 {

namespace {

UINT DrawTextFormat(const ControlDesign& design) {
  UINT format = DT_NOPREFIX | (design.align == Align::Centre ? DT_CENTER : DT_LEFT);
  if (design.wordWrap) return format | DT_WORDBREAK;
  return format | DT_SINGLELINE | (design.verticallyCentred ? DT_VCENTER : DT_TOP);
}

// What lies behind the label, then its caption, into `dc`.
void Draw(HWND hwnd, const ControlDesign& design, HDC dc) {
  PaintBehind(hwnd, dc);
  const std::string caption = WindowText(hwnd);
  HGDIOBJ oldFont = SelectObject(dc, FontOf(design.font));
  SetTextColor(dc, ColorRefOf(design.textColour));
  SetBkMode(dc, TRANSPARENT);
  RECT area;
  GetClientRect(hwnd, &area);
  DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &area, DrawTextFormat(design));
  SelectObject(dc, oldFont);
}

}  // namespace

void SetLabelCaption(HWND label, std::string_view caption) {
  if (WindowText(label) == caption) return;
  SetWindowTextA(label, std::string(caption).c_str());
  // A label over this one shows its caption through itself: it is drawn anew as well.
  InvalidateWithWhatLiesOverIt(label);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const ControlWindow* control = AttachedData<ControlWindow>(hwnd, message, lParam);
  if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT draws everything
    case WM_PAINT: {
      const BufferedPaint paint(hwnd);
      Draw(hwnd, control->design, paint.dc());
      return 0;
    }
    // A transparent control above asks for this one's drawing, as it lies behind it.
    case WM_PRINTCLIENT: Draw(hwnd, control->design, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_LBUTTONDOWN:
      if (IsBound(control->design.onLeftButtonDown)) control->Report(EventKind::LeftButtonDown);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
