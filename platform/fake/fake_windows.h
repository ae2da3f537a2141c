#pragma once
// The program's own windows on the fake platform: a backend that keeps what would be on
// screen, records every call, and lets a test act as the user.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/fake/journal.h"
#include "platform/fake/scheduler.h"
#include "ui/backend.h"

namespace fake {

struct FakeControl {
  std::string text;
  ui::SuggestionSource suggestions;
  std::vector<std::string> lines;
  bool visible = false;
  bool enabled = true;
  bool focused = false;
};

struct FakeWindow {
  bool exists = false;
  bool visible = false;
  bool minimised = false;
  bool topmost = false;
  bool firstInZOrder = false;  // no window above it: raised to the top of the topmost band, not covered since
  bool active = false;
  int timesShown = 0;
  platform::Rect rect;
  std::vector<FakeControl> controls;
};

class FakeWindows final : public ui::Backend {
 public:
  FakeWindows(Scheduler& scheduler, Journal& journal) : scheduler_(scheduler), journal_(journal) {}

  const FakeWindow& Window(ui::WindowId window) const { return windows_[static_cast<int>(window)]; }
  const FakeControl& Control(ui::ControlId control) const { return Window(control.window).controls[control.index]; }

  // What the user does. A click reaches an enabled control of an existing window.
  void Click(ui::ControlId control);
  // The left button pressed over a control: its handler runs, then the control takes the focus.
  void PressLeftButton(ui::ControlId control);
  void Type(ui::ControlId control, std::string_view text);
  // The close box, Alt+F4 or Esc: the window is destroyed at once.
  void Close(ui::WindowId window);
  void MinimiseByUser(ui::WindowId window);
  // Another program's always-on-top window comes up above it.
  void CoverWithAnotherTopmostWindow(ui::WindowId window) { Mutable(window).firstInZOrder = false; }

  // Called whenever an event's handler has returned, with how many other handlers are still
  // running around it (0: it was dispatched from the message loop itself).
  std::function<void(ui::ControlId, ui::EventKind, int outerHandlers)> afterEvent;

  // ui::Backend
  void SetEventSink(ui::EventSink& sink) override { sink_ = &sink; }
  void CreateWindow(const ui::WindowDesign& design, std::int32_t left, std::int32_t top) override;
  void CreateControl(ui::ControlId control, const ui::ControlDesign& design) override;
  void ShowControl(ui::ControlId control, ui::ShowCommand command) override;
  void ShowWindow(ui::WindowId window, ui::ShowCommand command) override;
  void SetTopmost(ui::WindowId window, bool topmost) override;
  void MoveWindow(ui::WindowId window, const platform::Rect& rect) override;
  ui::WindowPlacement Placement(ui::WindowId window) override;
  // Kept as the window's normal place, also while it is minimised.
  platform::Rect NormalRect(ui::WindowId window) override { return Window(window).rect; }
  bool IsFirstInZOrder(ui::WindowId window) override { return Window(window).exists && Window(window).firstInZOrder; }
  void SetText(ui::ControlId control, std::string_view text) override;
  std::string Text(ui::ControlId control) override { return Control(control).text; }
  void Disable(ui::ControlId control) override;
  void StartTimer(ui::ControlId timer, std::uint32_t intervalMs) override;
  void StopTimer(ui::ControlId timer) override;
  void AppendLine(ui::ControlId list, std::string_view line) override;
  void InsertLine(ui::ControlId list, std::int32_t index, std::string_view line) override;
  void ClearLines(ui::ControlId list) override;
  void PostDestroy(ui::WindowId window) override;
  void OfferSuggestions(ui::ControlId edit, ui::SuggestionSource source) override;

  // What the edit box's drop-down lists as the user types now (empty: it offers none).
  std::vector<std::u16string> Suggestions(ui::ControlId edit) const;

 private:
  FakeWindow& Mutable(ui::WindowId window) { return windows_[static_cast<int>(window)]; }
  FakeControl& Mutable(ui::ControlId control) { return Mutable(control.window).controls[control.index]; }
  void Record(std::string what) { journal_.Add(scheduler_.Now(), std::move(what)); }
  void DestroyNow(ui::WindowId window);
  void Deliver(ui::ControlId control, ui::EventKind event);
  static int TimerKey(ui::ControlId timer) { return static_cast<int>(timer.window) * 256 + timer.index; }

  Scheduler& scheduler_;
  Journal& journal_;
  ui::EventSink* sink_ = nullptr;
  int runningHandlers_ = 0;
  std::array<FakeWindow, ui::kWindowCount> windows_;
};

// "Start" or "Panel", and a control's design name, for journal entries and test messages.
std::string NameOf(ui::WindowId window);
std::string NameOf(ui::ControlId control);
const char* NameOf(ui::ShowCommand command);

}  // namespace fake
