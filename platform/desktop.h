#pragma once
// Other programs' windows as the monitor sees them, and the screen.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

using WindowHandle = std::uintptr_t;  // 0: none

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

// What IsWindowVisible and IsZoomed report of a top-level window.
struct WindowStates {
  bool visible = false;    // a minimised window counts as visible
  bool maximised = false;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual WindowHandle ForegroundWindow() = 0;
  // GetWindowThreadProcessId: 0 for no window or a window that has gone.
  virtual std::uint32_t WindowProcessId(WindowHandle window) = 0;
  // GetClassNameA with a 260-byte buffer: at most 259 bytes; empty on failure.
  virtual std::string WindowClassName(WindowHandle window) = 0;
  // GetWindowTextW of the whole title; empty when it has none.
  virtual std::u16string WindowTitle(WindowHandle window) = 0;
  // FindWindowA(className, title): a top-level window with exactly that class and title.
  virtual WindowHandle FindTopLevelWindow(std::string_view className, std::string_view title) = 0;
  // GetWindowRect into a zeroed rectangle: all zeros when the call fails.
  virtual Rect WindowRect(WindowHandle window) = 0;
  // Of a top-level window both come from its style (WS_VISIBLE, WS_MAXIMIZE), read once: its
  // parent is the desktop, which is always visible. All false for a window that has gone.
  virtual WindowStates TopLevelStates(WindowHandle window) = 0;
  // The primary screen (SM_CXSCREEN, SM_CYSCREEN).
  virtual std::int32_t ScreenWidth() = 0;
  virtual std::int32_t ScreenHeight() = 0;
};

}  // namespace platform
