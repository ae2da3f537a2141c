#pragma once
// The window and control model: what every handler does to windows and controls. The
// rules live here once; the backend only mirrors them to the screen. The model also owns
// whether a window is there at all: a handler that comes back from a wait may find its
// window gone, and every operation on a window that is not loaded does nothing, every
// read of it gives the empty value.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/session.h"
#include "ui/backend.h"
#include "ui/design.h"

namespace ui {

enum class ShowState : std::uint8_t { Normal, Minimised };

inline constexpr std::int32_t kMaxCoordinate = 32627;

class Model final : public EventSink {
 public:
  using Dispatch = std::function<void(HandlerId)>;

  Model(Backend& backend, platform::Desktop& desktop, platform::Session& session, Dispatch dispatch);

  // Creates the window and its controls, runs its created handler, then shows it if it is
  // still to be visible.
  void Load(WindowId window);
  // Marks the window and posts the request; it is destroyed once the running handlers return.
  void Destroy(WindowId window);
  // Loaded until destroyed; a window marked for destruction is still loaded.
  bool IsLoaded(WindowId window) const;

  void SetVisible(WindowId window, bool visible);
  // Acts only while the window is visible.
  void SetShowState(WindowId window, ShowState state);
  void SetTopmost(WindowId window, bool topmost);
  // Move the outer left (or top) edge to a screen coordinate, clamped to +-32627.
  void SetLeft(WindowId window, std::int32_t left);
  void SetTop(WindowId window, std::int32_t top);

  // Empty for a control of a window that is not loaded.
  std::string Text(ControlId control) const;
  void SetText(ControlId control, std::string_view text);
  void Disable(ControlId control);
  bool IsEnabled(ControlId control) const;

  // A positive interval starts the timer, 0 (or less) stops it; the interval it has changes nothing.
  void SetInterval(ControlId timer, std::int32_t intervalMs);
  std::int32_t Interval(ControlId timer) const;

  // The edit box suggests what `source` gives while the user types.
  void OfferSuggestions(ControlId edit, SuggestionSource source);

  void AppendLine(ControlId list, std::string_view line);
  // An index below 0, or beyond the last line, inserts nothing.
  void InsertLine(ControlId list, std::int32_t index, std::string_view line);
  void ClearLines(ControlId list);
  const std::vector<std::string>& Lines(ControlId list) const;

  // EventSink
  void OnEvent(ControlId control, EventKind event) override;
  // The program ends when its last window is gone, also inside a handler's wait: nothing is
  // left for the waiting handlers to do.
  void OnDestroyed(WindowId window) override;

 private:
  struct ControlState {
    std::string text;
    std::vector<std::string> lines;
    std::int32_t interval = 0;
    bool enabled = true;
  };
  struct WindowState {
    bool loaded = false;
    bool destroying = false;
    bool visible = false;  // the window's visible property
    std::vector<ControlState> controls;
  };

  WindowState& State(WindowId window) { return windows_[static_cast<int>(window)]; }
  const WindowState& State(WindowId window) const { return windows_[static_cast<int>(window)]; }
  ControlState& State(ControlId control) { return State(control.window).controls[control.index]; }
  // The control's state, or the empty state while its window is not loaded.
  const ControlState& StateOrEmpty(ControlId control) const;
  void MoveTo(WindowId window, const platform::Rect& now, std::int32_t left, std::int32_t top);

  Backend& backend_;
  platform::Desktop& desktop_;
  platform::Session& session_;
  Dispatch dispatch_;
  std::array<WindowState, kWindowCount> windows_;
};

}  // namespace ui
