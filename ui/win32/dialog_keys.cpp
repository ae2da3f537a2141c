// Tab, Enter and Esc in our windows, taken from the message loop before translation.
#include "ui/win32/top_window.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {

namespace {

void MoveFocus(const TopWindow& window, HWND focus, bool backwards) {
  HWND next = GetNextDlgTabItem(window.hwnd, focus == window.hwnd ? nullptr : focus, backwards);
  if (!next || next == window.hwnd) return;
  SetFocus(next);
  // As in a dialog, an edit box reached by Tab has its text selected.
  const ControlWindow* control = window.ControlFor(next);
  if (control && control->design.kind == Kind::EditBox) SendMessageA(next, EM_SETSEL, 0, -1);
}

bool IsOneLineEditBox(const ControlWindow* control) {
  return control && control->design.kind == Kind::EditBox && !control->design.multiLine;
}

}  // namespace

bool PreTranslateDialogKeys(MSG& message) {
  if (message.message != WM_KEYDOWN || !message.hwnd) return false;
  const TopWindow* window = FindTopWindow(GetAncestor(message.hwnd, GA_ROOT));
  if (!window) return false;
  switch (message.wParam) {
    case VK_ESCAPE:
      if (!window->design->escCloses) return false;
      SendMessageA(window->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);  // as the close box does
      return true;
    case VK_TAB: MoveFocus(*window, message.hwnd, GetKeyState(VK_SHIFT) < 0); return true;
    case VK_RETURN: return IsOneLineEditBox(window->ControlFor(message.hwnd));
  }
  return false;
}

}  // namespace ui::win32
