#include "platform/fake/fake_windows.h"

namespace fake {

std::string NameOf(ui::WindowId window) { return window == ui::WindowId::Start ? "Start" : "Panel"; }

std::string NameOf(ui::ControlId control) {
  return NameOf(control.window) + "." + std::string(ui::DesignOf(control).name);
}

const char* NameOf(ui::ShowCommand command) {
  switch (command) {
    case ui::ShowCommand::Hide: return "Hide";
    case ui::ShowCommand::Show: return "Show";
    case ui::ShowCommand::ShowNoActivate: return "ShowNoActivate";
    case ui::ShowCommand::RestoreNoActivate: return "RestoreNoActivate";
    case ui::ShowCommand::MinimiseNoActivate: return "MinimiseNoActivate";
  }
  return "?";
}

void FakeWindows::Deliver(ui::ControlId control, ui::EventKind event) {
  struct Running {  // counted down also when the handler ends the process
    explicit Running(int& counter) : count(counter) { ++count; }
    ~Running() { --count; }
    int& count;
  };
  {
    const Running running(runningHandlers_);
    sink_->OnEvent(control, event);
  }
  if (afterEvent) afterEvent(control, event, runningHandlers_);
}

void FakeWindows::Click(ui::ControlId control) {
  if (!Window(control.window).exists || !Control(control).enabled) return;
  scheduler_.Post([this, control] {
    if (Window(control.window).exists) Deliver(control, ui::EventKind::Click);
  });
}

void FakeWindows::PressLeftButton(ui::ControlId control) {
  if (!Window(control.window).exists) return;
  scheduler_.Post([this, control] {
    if (!Window(control.window).exists) return;
    Deliver(control, ui::EventKind::LeftButtonDown);
    if (Window(control.window).exists && Control(control).enabled) Mutable(control).focused = true;
  });
}

void FakeWindows::Type(ui::ControlId control, std::string_view text) { Mutable(control).text = std::string(text); }

void FakeWindows::Close(ui::WindowId window) {
  Record("UserClose " + NameOf(window));
  DestroyNow(window);
}

void FakeWindows::MinimiseByUser(ui::WindowId window) {
  if (Window(window).exists && Window(window).visible) Mutable(window).minimised = true;
}

void FakeWindows::CreateWindow(const ui::WindowDesign& design, std::int32_t left, std::int32_t top) {
  FakeWindow& window = Mutable(design.id);
  window = FakeWindow{};
  window.exists = true;
  window.rect = {left, top, left + design.width, top + design.height};
  window.controls.resize(design.controls.size());
  Record("CreateWindow " + NameOf(design.id) + " " + std::to_string(left) + " " + std::to_string(top));
}

void FakeWindows::CreateControl(ui::ControlId control, const ui::ControlDesign& design) {
  FakeControl& state = Mutable(control);
  state.text = std::string(design.text);
  state.enabled = !design.disabled;
}

void FakeWindows::ShowControl(ui::ControlId control, ui::ShowCommand command) {
  Mutable(control).visible = command != ui::ShowCommand::Hide;
}

void FakeWindows::ShowWindow(ui::WindowId id, ui::ShowCommand command) {
  Record("ShowWindow " + NameOf(id) + " " + NameOf(command));
  FakeWindow& window = Mutable(id);
  if (!window.exists) return;
  const bool wasVisible = window.visible;
  switch (command) {
    case ui::ShowCommand::Hide: window.visible = window.active = false; break;
    case ui::ShowCommand::Show: window.visible = window.active = true; break;
    case ui::ShowCommand::ShowNoActivate: window.visible = true; break;
    case ui::ShowCommand::RestoreNoActivate: window.visible = true; window.minimised = false; break;
    case ui::ShowCommand::MinimiseNoActivate: window.visible = true; window.minimised = true; window.active = false; break;
  }
  if (window.visible && !wasVisible) ++window.timesShown;
}

void FakeWindows::SetTopmost(ui::WindowId window, bool topmost) {
  Record("SetTopmost " + NameOf(window) + " " + (topmost ? "1" : "0"));
  if (Window(window).exists) Mutable(window).topmost = Mutable(window).firstInZOrder = topmost;
}

void FakeWindows::MoveWindow(ui::WindowId window, const platform::Rect& rect) {
  Record("MoveWindow " + NameOf(window) + " " + std::to_string(rect.left) + " " + std::to_string(rect.top));
  // Kept as the window's normal place; a minimised window shows it once restored.
  if (Window(window).exists) Mutable(window).rect = rect;
}

ui::WindowPlacement FakeWindows::Placement(ui::WindowId id) {
  const FakeWindow& window = Window(id);
  if (!window.exists) return {};
  return {.exists = true, .visible = window.visible, .minimised = window.minimised, .topmost = window.topmost};
}

void FakeWindows::SetText(ui::ControlId control, std::string_view text) {
  Record("SetText " + NameOf(control) + " " + std::string(text));
  Mutable(control).text = std::string(text);
}

void FakeWindows::Disable(ui::ControlId control) {
  Record("Disable " + NameOf(control));
  Mutable(control).enabled = false;
  Mutable(control).focused = false;
}

void FakeWindows::StartTimer(ui::ControlId timer, std::uint32_t intervalMs) {
  Record("StartTimer " + NameOf(timer) + " " + std::to_string(intervalMs));
  scheduler_.StartWindowTimer(TimerKey(timer), intervalMs, [this, timer] { Deliver(timer, ui::EventKind::Tick); });
}

void FakeWindows::StopTimer(ui::ControlId timer) {
  Record("StopTimer " + NameOf(timer));
  scheduler_.StopWindowTimer(TimerKey(timer));
}

void FakeWindows::AppendLine(ui::ControlId list, std::string_view line) {
  Record("AppendLine " + NameOf(list) + " " + std::string(line));
  Mutable(list).lines.emplace_back(line);
}

void FakeWindows::InsertLine(ui::ControlId list, std::int32_t index, std::string_view line) {
  Record("InsertLine " + NameOf(list) + " " + std::to_string(index) + " " + std::string(line));
  auto& lines = Mutable(list).lines;
  if (index < 0 || static_cast<std::size_t>(index) > lines.size()) return;  // LB_ERR
  lines.insert(lines.begin() + index, std::string(line));
}

void FakeWindows::ClearLines(ui::ControlId list) {
  Record("ClearLines " + NameOf(list));
  Mutable(list).lines.clear();
}

void FakeWindows::OfferSuggestions(ui::ControlId edit, ui::SuggestionSource source) {
  Record("OfferSuggestions " + NameOf(edit));
  Mutable(edit).suggestions = std::move(source);
}

std::vector<std::u16string> FakeWindows::Suggestions(ui::ControlId edit) const {
  const FakeControl& control = Control(edit);
  return Window(edit.window).exists && control.suggestions ? control.suggestions() : std::vector<std::u16string>();
}

void FakeWindows::PostDestroy(ui::WindowId window) {
  Record("PostDestroy " + NameOf(window));
  scheduler_.Post([this, window] { DestroyNow(window); });
}

void FakeWindows::DestroyNow(ui::WindowId id) {
  FakeWindow& window = Mutable(id);
  if (!window.exists) return;
  Record("Destroyed " + NameOf(id));
  window.exists = window.visible = false;
  const auto& controls = ui::DesignOf(id).controls;
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (controls[i].kind == ui::Kind::Timer) scheduler_.StopWindowTimer(TimerKey({id, static_cast<std::uint8_t>(i)}));
  sink_->OnDestroyed(id);
}

}  // namespace fake
