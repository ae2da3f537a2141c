// The window procs of our windows and of the hidden child their timers run on.
#include "ui/win32/top_window.h"

#include "ui/win32/gdi_objects.h"
#include "ui/win32/pictures.h"
#include "ui/win32/window_data.h"

namespace ui::win32 {

namespace {

void PaintBackground(const TopWindow& window, HDC dc) {
  RECT client;
  GetClientRect(window.hwnd, &client);
  if (window.design->background != Picture::None) DrawBitmap(dc, BitmapOf(window.design->background), client);
  else FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

// WM_CTLCOLOR*: a control with a background colour gets it; the others draw their text
// straight onto the window's button-face colour.
LRESULT ColourControl(const TopWindow& window, UINT message, HDC dc, HWND child) {
  const ControlWindow* control = window.ControlFor(child);
  if (!control || control->design.kind == Kind::Button)
    return DefWindowProcA(window.hwnd, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
  const ControlDesign& design = control->design;
  SetTextColor(dc, ColorRefOf(design.textColour));
  if (!design.backColour) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  SetBkColor(dc, ColorRefOf(*design.backColour));
  return reinterpret_cast<LRESULT>(BrushOf(*design.backColour));
}

void ReportClick(const TopWindow& window, HWND child) {
  const ControlWindow* control = window.ControlFor(child);
  if (control && control->design.kind == Kind::Button && IsBound(control->design.onClick))
    control->Report(EventKind::Click);
}

// As in a dialog, the control that had the focus gets it back when the window is active again.
void RestoreFocus(const TopWindow& window) {
  if (window.savedFocus && IsChild(window.hwnd, window.savedFocus)) SetFocus(window.savedFocus);
}

void SaveFocus(TopWindow& window) {
  HWND focus = GetFocus();
  window.savedFocus = focus && IsChild(window.hwnd, focus) ? focus : nullptr;
}

void Destroyed(TopWindow& window) {
  const WindowId id = window.design->id;
  EventSink* sink = window.sink;
  SetWindowLongPtrA(window.hwnd, GWLP_USERDATA, 0);
  window = TopWindow{};
  sink->OnDestroyed(id);
}

}  // namespace

ControlWindow* TopWindow::ControlFor(HWND child) const {
  if (!child) return nullptr;
  const int index = GetDlgCtrlID(child) - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(controls.size()) || !controls[index]) return nullptr;
  return controls[index]->hwnd == child ? controls[index].get() : nullptr;
}

HWND TopWindow::HandleOf(int index) const {
  if (index < 0 || index >= static_cast<int>(controls.size()) || !controls[index]) return nullptr;
  return controls[index]->hwnd;
}

LRESULT CALLBACK TopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TopWindow* window = AttachedData<TopWindow>(hwnd, message, lParam);
  if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) window->hwnd = hwnd;
  switch (message) {
    case WM_ERASEBKGND: PaintBackground(*window, reinterpret_cast<HDC>(wParam)); return 1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      return ColourControl(*window, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) ReportClick(*window, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) SaveFocus(*window);
      break;
    case WM_SETFOCUS: RestoreFocus(*window); return 0;
    case kDestroyRequest: DestroyWindow(hwnd); return 0;
    case WM_NCDESTROY:
      DefWindowProcA(hwnd, message, wParam, lParam);
      Destroyed(*window);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TimerHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const TopWindow* window = AttachedData<TopWindow>(hwnd, message, lParam);
  if (!window || message != WM_TIMER) return DefWindowProcA(hwnd, message, wParam, lParam);
  const int index = static_cast<int>(wParam) - kFirstControlId;
  if (index >= 0 && index < static_cast<int>(window->controls.size()) && window->controls[index])
    window->controls[index]->Report(EventKind::Tick);
  return 0;
}

}  // namespace ui::win32
