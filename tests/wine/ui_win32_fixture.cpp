#include "tests/wine/ui_win32_fixture.h"

#include <string>

#include "ui/win32/control_window.h"

namespace ui_win32_test {

void Win32BackendTest::SetUp() { backend.SetEventSink(sink); }

void Win32BackendTest::TearDown() {
  for (HWND hwnd : windows_)
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  Pump(0);
}

HWND Win32BackendTest::Build(ui::WindowId id, int left, int top) {
  const ui::WindowDesign& design = ui::DesignOf(id);
  backend.CreateWindow(design, left, top);
  windows_[static_cast<int>(id)] = FindWindowA("CompanionTunerWindow", std::string(design.title).c_str());
  for (std::size_t i = 0; i < design.controls.size(); ++i)
    backend.CreateControl({id, static_cast<std::uint8_t>(i)}, design.controls[i]);
  for (std::size_t i = 0; i < design.controls.size(); ++i)
    if (design.controls[i].visible) backend.ShowControl({id, static_cast<std::uint8_t>(i)}, ui::ShowCommand::ShowNoActivate);
  return Window(id);
}

HWND Win32BackendTest::Load(ui::WindowId id, int left, int top) {
  Build(id, left, top);
  backend.ShowWindow(id, ui::ShowCommand::Show);
  Pump(50);
  return Window(id);
}

HWND Win32BackendTest::Control(ui::ControlId control) const {
  const ui::ControlDesign& design = ui::DesignOf(control);
  HWND parent = design.parent == ui::kOnWindow ? Window(control.window)
                                               : Control({control.window, static_cast<std::uint8_t>(design.parent)});
  return GetDlgItem(parent, ui::win32::DialogIdOf(control));
}

RECT Win32BackendTest::ScreenRect(ui::ControlId control) const {
  RECT rect;
  GetClientRect(Control(control), &rect);
  MapWindowPoints(Control(control), nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (ui::win32::PreTranslateDialogKeys(message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (ms) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

namespace {

void SendMouse(POINT point, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &input, sizeof input);
  Pump(60);
}

}  // namespace

void MoveMouse(POINT point) { SendMouse(point, 0); }
void PressLeft(POINT point) { SendMouse(point, MOUSEEVENTF_LEFTDOWN); }
void ReleaseLeft(POINT point) { SendMouse(point, MOUSEEVENTF_LEFTUP); }

std::uint32_t PaintedColour(HWND hwnd, POINT point) {
  HDC dc = GetDC(hwnd);
  const COLORREF colour = GetPixel(dc, point.x, point.y);
  ReleaseDC(hwnd, dc);
  return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

std::uint32_t ScreenColour(POINT point) { return PaintedColour(nullptr, point); }

POINT Inside(const RECT& rect, int x, int y) { return {rect.left + x, rect.top + y}; }

}  // namespace ui_win32_test
