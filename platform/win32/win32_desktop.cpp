// Other programs' windows and the screen, through user32.
#include <windows.h>

#include "platform/win32/win32_parts.h"

namespace platform::win32 {

namespace {
HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
}  // namespace

WindowHandle Win32Desktop::ForegroundWindow() { return reinterpret_cast<WindowHandle>(GetForegroundWindow()); }

std::uint32_t Win32Desktop::WindowProcessId(WindowHandle window) {
  DWORD id = 0;
  if (window) GetWindowThreadProcessId(Hwnd(window), &id);
  return id;
}

std::string Win32Desktop::WindowClassName(WindowHandle window) {
  char buffer[261] = {};
  const int length = GetClassNameA(Hwnd(window), buffer, 260);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

std::u16string Win32Desktop::WindowTitle(WindowHandle window) {
  const int length = GetWindowTextLengthW(Hwnd(window));
  if (length <= 0) return {};
  std::u16string title(static_cast<std::size_t>(length) + 1, u'\0');
  GetWindowTextW(Hwnd(window), reinterpret_cast<wchar_t*>(title.data()), length + 1);
  title.resize(title.find(u'\0'));
  return title;
}

WindowHandle Win32Desktop::FindTopLevelWindow(std::string_view className, std::string_view title) {
  const std::string classText(className), titleText(title);
  return reinterpret_cast<WindowHandle>(FindWindowA(classText.c_str(), titleText.c_str()));
}

Rect Win32Desktop::WindowRect(WindowHandle window) {
  RECT rect{};
  GetWindowRect(Hwnd(window), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

WindowStates Win32Desktop::TopLevelStates(WindowHandle window) {
  // Another process's window: every query is a round trip to the window server under Wine.
  const LONG style = GetWindowLongW(Hwnd(window), GWL_STYLE);
  return {.visible = (style & WS_VISIBLE) != 0, .maximised = (style & WS_MAXIMIZE) != 0};
}

std::int32_t Win32Desktop::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

std::int32_t Win32Desktop::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace platform::win32
