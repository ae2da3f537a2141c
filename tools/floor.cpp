// The floor of the program's running cost: a plain Win32 program with the panel's three
// running timers (10, 100 and 1000 ms) on a shown window of the panel's size, and handlers
// that do nothing. scripts/measure-cost runs it beside the program and compares the two.
#include <windows.h>

namespace {

constexpr UINT kTimerIntervalsMs[] = {10, 100, 1000};

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) return 0;
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"CostFloor";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 700, 290,
                                110, nullptr, nullptr, instance, nullptr);
  UINT_PTR id = 1;
  for (const UINT interval : kTimerIntervalsMs) SetTimer(window, id++, interval, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
