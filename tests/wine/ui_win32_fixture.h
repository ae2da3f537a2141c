#pragma once
// The real Win32 backend in this process: windows loaded as the model loads them, the
// events they report, the mouse and the screen as the user has them.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "ui/win32/win32_backend.h"

namespace ui_win32_test {

class RecordingSink final : public ui::EventSink {
 public:
  void OnEvent(ui::ControlId control, ui::EventKind event) override {
    events.emplace_back(control, event);
    if (onEvent) onEvent(control, event);
  }
  void OnDestroyed(ui::WindowId window) override { destroyed.push_back(window); }

  std::vector<std::pair<ui::ControlId, ui::EventKind>> events;
  std::vector<ui::WindowId> destroyed;
  std::function<void(ui::ControlId, ui::EventKind)> onEvent;
};

class Win32BackendTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the window as the model does: hidden at (left, top), its controls, the visible
  // ones shown without activation.
  HWND Build(ui::WindowId window, int left = 200, int top = 200);
  // Builds the window, shows it and lets it settle.
  HWND Load(ui::WindowId window, int left = 200, int top = 200);
  HWND Window(ui::WindowId window) const { return windows_[static_cast<int>(window)]; }
  HWND Control(ui::ControlId control) const;
  // The control's client rectangle in screen coordinates.
  RECT ScreenRect(ui::ControlId control) const;

  ui::Backend& backend = ui::win32::Win32Backend();
  RecordingSink sink;

 private:
  HWND windows_[ui::kWindowCount]{};
};

// Dispatches this thread's messages (dialog keys first) for at least `ms` milliseconds.
void Pump(DWORD ms);
// The pointer moved to, or the left button pressed or released at, a screen point.
void MoveMouse(POINT point);
void PressLeft(POINT point);
void ReleaseLeft(POINT point);
// The colour on screen, 0xRRGGBB.
std::uint32_t ScreenColour(POINT point);
// The colour the window has painted at a point of its client area, before it reaches the screen.
std::uint32_t PaintedColour(HWND hwnd, POINT point);
POINT Inside(const RECT& rect, int x, int y);

}  // namespace ui_win32_test
