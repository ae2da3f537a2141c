#include "ui/model.h"

#include <algorithm>

namespace ui {

Model::Model(Backend& backend, platform::Desktop& desktop, platform::Session& session, Dispatch dispatch)
    : backend_(backend), desktop_(desktop), session_(session), dispatch_(std::move(dispatch)) {
  backend_.SetEventSink(*this);
}

void Model::Load(WindowId window) {
  const WindowDesign& design = DesignOf(window);
  WindowState& state = State(window);
  state = WindowState{.loaded = true, .visible = design.visibleOnceLoaded, .controls = {}};
  state.controls.resize(design.controls.size());

  // Centred on the primary screen; the division rounds towards zero.
  const std::int32_t left = (desktop_.ScreenWidth() - design.width) / 2;
  const std::int32_t top = (desktop_.ScreenHeight() - design.height) / 2;
  backend_.CreateWindow(design, left, top);
  for (std::size_t i = 0; i < design.controls.size(); ++i) {
    const ControlId id{window, static_cast<std::uint8_t>(i)};
    const ControlDesign& control = design.controls[i];
    ControlState& controlState = state.controls[i];
    controlState.text = std::string(control.text);
    controlState.enabled = !control.disabled;
    backend_.CreateControl(id, control);
    if (control.kind == Kind::Timer && control.interval > 0) SetInterval(id, control.interval);
  }
  for (std::size_t i = 0; i < design.controls.size(); ++i)
    if (design.controls[i].visible) backend_.ShowControl({window, static_cast<std::uint8_t>(i)}, ShowCommand::ShowNoActivate);

  dispatch_(design.onCreated);
  // The window the user started the program for comes to the front and takes the keyboard.
  if (state.loaded && state.visible) backend_.ShowWindow(window, ShowCommand::Show);
}

void Model::Destroy(WindowId window) {
  WindowState& state = State(window);
  if (!state.loaded || state.destroying) return;
  state.destroying = true;
  backend_.PostDestroy(window);
}

bool Model::IsLoaded(WindowId window) const { return State(window).loaded; }

// Every write below is left out when the window already is as it would make it, compared with
// its real state on screen as the backend reads it now (never with a remembered copy), so
// that what the user did to the window meanwhile is still undone. Under Wine each write is
// a round trip to the display server; the reads of our own windows are not.

void Model::SetVisible(WindowId window, bool visible) {
  if (!IsLoaded(window)) return;
  State(window).visible = visible;
  // Showing a shown window, or hiding a hidden one, does nothing.
  if (backend_.Placement(window).visible == visible) return;
  // The program shows its windows without activating them: the panel appears as the
  // companion's window changes, and must not take the keyboard from the companion or a game.
  backend_.ShowWindow(window, visible ? ShowCommand::ShowNoActivate : ShowCommand::Hide);
}

void Model::SetShowState(WindowId window, ShowState state) {
  if (!IsLoaded(window)) return;
  const WindowPlacement now = backend_.Placement(window);
  if (!now.visible) return;
  const bool minimise = state == ShowState::Minimised;
  // Minimising a minimised window, or restoring one that is neither minimised nor maximised,
  // does nothing.
  if (minimise ? now.minimised : !now.minimised && !now.maximised) return;
  backend_.ShowWindow(window, minimise ? ShowCommand::MinimiseNoActivate : ShowCommand::RestoreNoActivate);
}

void Model::SetTopmost(WindowId window, bool topmost) {
  // Taking a window out of the topmost band that is not in it does nothing. Putting one in
  // that is already there raises it to the top of the band, which is left out only when
  // nothing lies above it.
  if (!IsLoaded(window)) return;
  const WindowPlacement now = backend_.Placement(window);
  if (now.topmost == topmost && (!topmost || backend_.IsFirstInZOrder(window))) return;
  backend_.SetTopmost(window, topmost);
}

void Model::SetLeft(WindowId window, std::int32_t left) {
  if (!IsLoaded(window)) return;
  const platform::Rect now = backend_.NormalRect(window);
  MoveTo(window, now, left, now.top);
}

void Model::SetTop(WindowId window, std::int32_t top) {
  if (!IsLoaded(window)) return;
  const platform::Rect now = backend_.NormalRect(window);
  MoveTo(window, now, now.left, top);
}

void Model::MoveTo(WindowId window, const platform::Rect& now, std::int32_t left, std::int32_t top) {
  const WindowDesign& design = DesignOf(window);
  left = std::clamp(left, -kMaxCoordinate, kMaxCoordinate);
  top = std::clamp(top, -kMaxCoordinate, kMaxCoordinate);
  const platform::Rect target{left, top, left + design.width, top + design.height};
  // A move to where the window lies does nothing. A minimised window is placed where it will
  // be restored, so that it comes back in the right place at once.
  if (target == now) return;
  backend_.MoveWindow(window, target);
}

const Model::ControlState& Model::StateOrEmpty(ControlId control) const {
  static const ControlState kEmpty{.enabled = false};
  return IsLoaded(control.window) ? State(control.window).controls[control.index] : kEmpty;
}

std::string Model::Text(ControlId control) const {
  if (!IsLoaded(control.window)) return {};
  if (DesignOf(control).kind == Kind::EditBox) return backend_.Text(control);
  return StateOrEmpty(control).text;
}

void Model::SetText(ControlId control, std::string_view text) {
  if (!IsLoaded(control.window)) return;
  State(control).text = std::string(text);
  backend_.SetText(control, text);
}

void Model::Disable(ControlId control) {
  if (!IsLoaded(control.window)) return;
  State(control).enabled = false;
  backend_.Disable(control);
}

bool Model::IsEnabled(ControlId control) const { return StateOrEmpty(control).enabled; }

void Model::SetInterval(ControlId timer, std::int32_t intervalMs) {
  if (!IsLoaded(timer.window)) return;
  intervalMs = std::max(intervalMs, 0);
  ControlState& state = State(timer);
  if (intervalMs == state.interval) return;
  const bool running = state.interval > 0;
  state.interval = intervalMs;
  if (running) backend_.StopTimer(timer);
  if (intervalMs > 0) backend_.StartTimer(timer, static_cast<std::uint32_t>(intervalMs));
}

std::int32_t Model::Interval(ControlId timer) const { return StateOrEmpty(timer).interval; }

void Model::OfferSuggestions(ControlId edit, SuggestionSource source) {
  if (IsLoaded(edit.window)) backend_.OfferSuggestions(edit, std::move(source));
}

void Model::AppendLine(ControlId list, std::string_view line) {
  if (!IsLoaded(list.window)) return;
  State(list).lines.emplace_back(line);
  backend_.AppendLine(list, line);
}

void Model::InsertLine(ControlId list, std::int32_t index, std::string_view line) {
  if (!IsLoaded(list.window)) return;
  auto& lines = State(list).lines;
  if (index < 0 || static_cast<std::size_t>(index) > lines.size()) return;
  lines.insert(lines.begin() + index, std::string(line));
  backend_.InsertLine(list, index, line);
}

void Model::ClearLines(ControlId list) {
  if (!IsLoaded(list.window)) return;
  State(list).lines.clear();
  backend_.ClearLines(list);
}

const std::vector<std::string>& Model::Lines(ControlId list) const { return StateOrEmpty(list).lines; }

void Model::OnEvent(ControlId control, EventKind event) {
  if (!State(control.window).loaded) return;
  const ControlDesign& design = DesignOf(control);
  switch (event) {
    case EventKind::Click: dispatch_(design.onClick); break;
    case EventKind::Tick: dispatch_(design.onTick); break;
    case EventKind::LeftButtonDown: dispatch_(design.onLeftButtonDown); break;
  }
}

void Model::OnDestroyed(WindowId window) {
  State(window) = WindowState{};
  const bool anyLoaded = std::any_of(windows_.begin(), windows_.end(), [](const WindowState& w) { return w.loaded; });
  if (!anyLoaded) session_.EndProcess(0);
}

}  // namespace ui

