#pragma once
// What each of our control windows carries: its id, its design, and where its events go.
#include <cstdint>

#include "ui/win32/win32_backend.h"

namespace ui::win32 {

// Control ids stay clear of IDOK and IDCANCEL (1 and 2), which Windows sends for dialog keys.
inline constexpr int kFirstControlId = 100;

inline int DialogIdOf(ControlId control) { return kFirstControlId + control.index; }

// Whether the design binds a handler to the event: only bound events are reported.
inline bool IsBound(HandlerId handler) { return handler != HandlerId::None; }

enum class ButtonFace : std::uint8_t { Normal, Hover, Pressed };

struct ControlWindow {
  ControlWindow(ControlId id, const ControlDesign& design, EventSink& sink) : id(id), design(design), sink(sink) {}

  void Report(EventKind event) const { sink.OnEvent(id, event); }

  const ControlId id;
  const ControlDesign& design;
  EventSink& sink;
  HWND hwnd = nullptr;  // none for a timer

  // Picture buttons only.
  ButtonFace face = ButtonFace::Normal;
  bool pressing = false;       // the left button went down on it and is held
  bool trackingLeave = false;  // TrackMouseEvent asked for WM_MOUSELEAVE
};

}  // namespace ui::win32
