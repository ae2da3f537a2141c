#pragma once
// A window of ours on screen: its design, its controls, and the hidden child its timers run on.
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/win32/control_window.h"

namespace ui::win32 {

// Posted to a window to destroy it when the message loop reaches the request.
inline constexpr UINT kDestroyRequest = WM_APP + 1;

struct TopWindow {
  const WindowDesign* design = nullptr;
  EventSink* sink = nullptr;
  HWND hwnd = nullptr;
  HWND timerHost = nullptr;
  HWND savedFocus = nullptr;  // the control that had the focus when the window was deactivated
  std::vector<std::unique_ptr<ControlWindow>> controls;  // in design order

  // One of this window's controls, or null for any other window.
  ControlWindow* ControlFor(HWND child) const;
  HWND HandleOf(int index) const;
};

// The window of ours whose handle this is, or null.
TopWindow* FindTopWindow(HWND hwnd);

LRESULT CALLBACK TopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TimerHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui::win32
