// The Win32 backend: mirrors the window model onto real windows and controls.
#include "ui/win32/win32_backend.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "assets/resource_ids.h"
#include "ui/win32/autocomplete.h"
#include "ui/win32/controls.h"
#include "ui/win32/custom_controls.h"
#include "ui/win32/paint.h"
#include "ui/win32/restored_placement.h"
#include "ui/win32/top_window.h"

namespace ui::win32 {

namespace {

constexpr char kWindowClass[] = "CompanionTunerWindow";
constexpr char kTimerHostClass[] = "CompanionTunerTimers";

int ShowCommandOf(ShowCommand command) {
  switch (command) {
    case ShowCommand::Hide: return SW_HIDE;
    case ShowCommand::Show: return SW_SHOW;
    case ShowCommand::ShowNoActivate: return SW_SHOWNA;
    case ShowCommand::RestoreNoActivate: return SW_SHOWNOACTIVATE;
    case ShowCommand::MinimiseNoActivate: return SW_SHOWMINNOACTIVE;
  }
  return SW_SHOW;
}

HICON ProgramIcon(int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(CT_ICON_PROGRAM), IMAGE_ICON, size, size, 0));
}

void RegisterWindowClass(const char* name, WNDPROC proc, bool withIcon) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
  windowClass.lpszClassName = name;
  if (withIcon) {
    windowClass.hIcon = ProgramIcon(SM_CXICON);
    windowClass.hIconSm = ProgramIcon(SM_CXSMICON);
  }
  RegisterClassExA(&windowClass);
}

DWORD WindowStyleOf(const WindowDesign& design) {
  // Clipping the children: every control paints its own area, what lies behind it included.
  DWORD style = WS_CLIPCHILDREN | (design.dialogFrame ? DWORD{WS_CAPTION} : DWORD{WS_POPUP});
  if (design.systemMenu) style |= WS_SYSMENU;
  if (design.minimiseBox) style |= WS_MINIMIZEBOX;
  if (design.maximiseBox) style |= WS_MAXIMIZEBOX;
  return style;
}

class WindowsBackend final : public ui::Backend {
 public:
  WindowsBackend() {
    const INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);
    RegisterWindowClass(kWindowClass, TopWindowProc, true);
    RegisterWindowClass(kTimerHostClass, TimerHostProc, false);
    RegisterWindowClass(kLabelClass, LabelProc, false);
    RegisterWindowClass(kPictureButtonClass, PictureButtonProc, false);
  }

  TopWindow* Find(HWND hwnd) {
    for (TopWindow& window : windows_)
      if (hwnd && window.hwnd == hwnd) return &window;
    return nullptr;
  }

  void SetEventSink(EventSink& sink) override { sink_ = &sink; }

  void CreateWindow(const WindowDesign& design, std::int32_t left, std::int32_t top) override {
    TopWindow& window = Top(design.id);
    window = TopWindow{};
    window.design = &design;
    window.sink = sink_;
    window.controls.resize(design.controls.size());
    // The window's own icon and title show on its taskbar button, also without a title bar.
    CreateWindowExA(WS_EX_APPWINDOW, kWindowClass, std::string(design.title).c_str(), WindowStyleOf(design), left, top,
                    design.width, design.height, nullptr, nullptr, GetModuleHandleA(nullptr), &window);
  }

  void CreateControl(ControlId id, const ControlDesign& design) override {
    TopWindow& window = Top(id.window);
    if (!window.hwnd || id.index >= window.controls.size()) return;
    ControlWindow& control = *(window.controls[id.index] = std::make_unique<ControlWindow>(id, design, *sink_));
    if (design.kind != Kind::Timer) {
      CreateControlWindow(control, design.parent == kOnWindow ? window.hwnd : window.HandleOf(design.parent));
    } else if (!window.timerHost) {
      window.timerHost = CreateWindowExA(0, kTimerHostClass, "", WS_CHILD, 0, 0, 0, 0, window.hwnd, nullptr,
                                         GetModuleHandleA(nullptr), &window);
    }
  }

  void ShowControl(ControlId control, ShowCommand command) override {
    if (HWND hwnd = HandleOf(control)) ::ShowWindow(hwnd, ShowCommandOf(command));
  }

  void ShowWindow(WindowId window, ShowCommand command) override {
    HWND hwnd = Top(window).hwnd;
    if (!hwnd) return;
    const bool appears = command != ShowCommand::Hide && !IsWindowVisible(hwnd);
    ::ShowWindow(hwnd, ShowCommandOf(command));
    // A window that appears is painted whole, its controls included, before anyone looks.
    if (appears) RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  void SetTopmost(WindowId window, bool topmost) override {
    if (HWND hwnd = Top(window).hwnd)
      SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  }

  void MoveWindow(WindowId window, const platform::Rect& rect) override {
    HWND hwnd = Top(window).hwnd;
    if (!hwnd) return;
    if (IsIconic(hwnd)) SetRestoredRect(hwnd, rect);
    else ::MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  }

  WindowPlacement Placement(WindowId window) override {
    HWND hwnd = Top(window).hwnd;
    if (!hwnd) return {};
    return {.exists = true,
            .visible = IsWindowVisible(hwnd) != FALSE,
            .minimised = IsIconic(hwnd) != FALSE,
            .maximised = IsZoomed(hwnd) != FALSE,
            .topmost = (GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0};
  }

  platform::Rect NormalRect(WindowId window) override {
    HWND hwnd = Top(window).hwnd;
    if (!hwnd) return {};
    if (IsIconic(hwnd)) return RestoredRect(hwnd);
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
  }

  bool IsFirstInZOrder(WindowId window) override {
    HWND hwnd = Top(window).hwnd;
    return hwnd && !GetWindow(hwnd, GW_HWNDPREV);
  }

  void SetText(ControlId control, std::string_view text) override {
    HWND hwnd = HandleOf(control);
    if (!hwnd) return;
    if (DesignOf(control).kind == Kind::Label) SetLabelCaption(hwnd, text);
    else SetWindowTextA(hwnd, std::string(text).c_str());
  }

  std::string Text(ControlId control) override {
    HWND hwnd = HandleOf(control);
    return hwnd ? WindowText(hwnd) : std::string();
  }

  void Disable(ControlId control) override {
    if (HWND hwnd = HandleOf(control)) EnableWindow(hwnd, FALSE);
  }

  void StartTimer(ControlId timer, std::uint32_t intervalMs) override {
    if (HWND host = Top(timer.window).timerHost) SetTimer(host, DialogIdOf(timer), intervalMs, nullptr);
  }

  void StopTimer(ControlId timer) override {
    if (HWND host = Top(timer.window).timerHost) KillTimer(host, DialogIdOf(timer));
  }

  void AppendLine(ControlId list, std::string_view line) override {
    HWND hwnd = HandleOf(list);
    if (!hwnd) return;
    const LRESULT index = SendMessageA(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(line).c_str()));
    if (index >= 0) SendMessageA(hwnd, LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
  }

  void InsertLine(ControlId list, std::int32_t index, std::string_view line) override {
    if (HWND hwnd = HandleOf(list))
      SendMessageA(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(std::string(line).c_str()));
  }

  void ClearLines(ControlId list) override {
    if (HWND hwnd = HandleOf(list)) SendMessageA(hwnd, LB_RESETCONTENT, 0, 0);
  }

  void OfferSuggestions(ControlId edit, SuggestionSource source) override {
    if (HWND hwnd = HandleOf(edit)) AttachAutoComplete(hwnd, std::move(source));
  }

  void PostDestroy(WindowId window) override {
    if (HWND hwnd = Top(window).hwnd) PostMessageA(hwnd, kDestroyRequest, 0, 0);
  }

 private:
  TopWindow& Top(WindowId window) { return windows_[static_cast<int>(window)]; }
  HWND HandleOf(ControlId control) { return Top(control.window).HandleOf(control.index); }

  EventSink* sink_ = nullptr;
  std::array<TopWindow, kWindowCount> windows_;
};

WindowsBackend& TheBackend() {
  // Lives as long as the process: windows may still send messages while it ends.
  static WindowsBackend* backend = new WindowsBackend;
  return *backend;
}

}  // namespace

ui::Backend& Win32Backend() { return TheBackend(); }

TopWindow* FindTopWindow(HWND hwnd) { return TheBackend().Find(hwnd); }

}  // namespace ui::win32
