#pragma once
// What mirrors the window model to the screen: Win32 windows and controls in the Windows
// build, a recording backend on the fake platform. Events come back through EventSink.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <string_view>

#include "platform/desktop.h"
#include "ui/design.h"

namespace ui {

enum class ShowCommand : std::uint8_t {
  Hide,            // SW_HIDE
  Show,                // SW_SHOW (activates)
  ShowNoActivate,      // SW_SHOWNA
  RestoreNoActivate,   // SW_SHOWNOACTIVATE (restores a minimised window)
  MinimiseNoActivate,  // SW_SHOWMINNOACTIVE
};

// What an edit box suggests as the user types: asked afresh each time the list is built, and
// possibly from another thread than the windows'.
using SuggestionSource = std::function<std::vector<std::u16string>()>;

// A window's real state on screen, as the platform reports it now.
struct WindowPlacement {
  bool exists = false;
  bool visible = false;    // IsWindowVisible: a minimised window counts as visible
  bool minimised = false;  // IsIconic
  bool maximised = false;  // IsZoomed
  bool topmost = false;    // WS_EX_TOPMOST
};

class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void OnEvent(ControlId control, EventKind event) = 0;
  // The window has been destroyed: by a posted request reaching the loop, or closed by the user.
  virtual void OnDestroyed(WindowId window) = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual void SetEventSink(EventSink& sink) = 0;
  // Creates the window hidden, with its frame style, title and outer size at (left, top).
  virtual void CreateWindow(const WindowDesign& design, std::int32_t left, std::int32_t top) = 0;
  // Creates one control hidden, as a child of its parent (timers: on a hidden child window).
  virtual void CreateControl(ControlId control, const ControlDesign& design) = 0;
  virtual void ShowControl(ControlId control, ShowCommand command) = 0;
  virtual void ShowWindow(WindowId window, ShowCommand command) = 0;
  // SetWindowPos(HWND_TOPMOST or HWND_NOTOPMOST, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE).
  virtual void SetTopmost(WindowId window, bool topmost) = 0;
  // MoveWindow with a repaint. A minimised window stays minimised and is restored there.
  virtual void MoveWindow(WindowId window, const platform::Rect& rect) = 0;
  virtual WindowPlacement Placement(WindowId window) = 0;
  // The outer rectangle in screen pixels; of a minimised window, the one it is restored to
  // (where it lies as a minimised window is nothing the program places).
  virtual platform::Rect NormalRect(WindowId window) = 0;
  // No window lies above it in the z-order (GetWindow(GW_HWNDPREV) finds none).
  virtual bool IsFirstInZOrder(WindowId window) = 0;
  virtual void SetText(ControlId control, std::string_view text) = 0;
  // The control's current text on screen (an edit box: what the user typed).
  virtual std::string Text(ControlId control) = 0;
  virtual void Disable(ControlId control) = 0;
  virtual void StartTimer(ControlId timer, std::uint32_t intervalMs) = 0;
  virtual void StopTimer(ControlId timer) = 0;
  virtual void AppendLine(ControlId list, std::string_view line) = 0;        // LB_ADDSTRING, item data 0
  virtual void InsertLine(ControlId list, std::int32_t index, std::string_view line) = 0;  // LB_INSERTSTRING
  virtual void ClearLines(ControlId list) = 0;                               // LB_RESETCONTENT
  // The system's autocomplete drop-down on an edit box (IAutoComplete2: suggestions, the
  // up and down keys open the list). Where the system has none, the edit box stays as it is.
  virtual void OfferSuggestions(ControlId edit, SuggestionSource source) = 0;
  // Posts a request to destroy the window when the message loop reaches it.
  virtual void PostDestroy(WindowId window) = 0;
};

}  // namespace ui
