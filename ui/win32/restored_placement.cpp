#include "ui/win32/restored_placement.h"

namespace ui::win32 {

namespace {

// The work area's corner on the window's monitor (for a minimised window, the monitor it was
// on), in screen pixels.
POINT WorkspaceOrigin(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) return {0, 0};
  return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

WINDOWPLACEMENT PlacementOf(HWND hwnd) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(hwnd, &placement);
  return placement;
}

}  // namespace

platform::Rect RestoredRect(HWND hwnd) {
  const RECT normal = PlacementOf(hwnd).rcNormalPosition;
  const POINT origin = WorkspaceOrigin(hwnd);
  return {normal.left + origin.x, normal.top + origin.y, normal.right + origin.x, normal.bottom + origin.y};
}

void SetRestoredRect(HWND hwnd, const platform::Rect& rect) {
  WINDOWPLACEMENT placement = PlacementOf(hwnd);
  const POINT origin = WorkspaceOrigin(hwnd);
  placement.rcNormalPosition = {rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
  placement.flags = 0;
  // Its own show command would activate it (SW_SHOWMINIMIZED) or show it.
  placement.showCmd = IsWindowVisible(hwnd) ? SW_SHOWMINNOACTIVE : SW_HIDE;
  SetWindowPlacement(hwnd, &placement);
}

}  // namespace ui::win32
