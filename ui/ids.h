#pragma once
// The two windows, their controls by design name, and the handlers the designs bind.
#include <cstdint>

namespace ui {

enum class WindowId : std::uint8_t { Start, Panel };
inline constexpr int kWindowCount = 2;

// A control is addressed by its window and its place in that window's design.
struct ControlId {
  WindowId window;
  std::uint8_t index;
  constexpr bool operator==(const ControlId&) const = default;
};

enum class EventKind : std::uint8_t { Click, Tick, LeftButtonDown };

enum class HandlerId : std::uint8_t {
  None,
  PrepareStartWindow,
  HandOverToPanel,
  ClearPlaceholder,
  SaveGameProcess,
  PanelCreated,
  StartOptimization,
  ForegroundTick,
  DockTick,
  LiveStatusTick,
  RetuneTick,
  CompanionGoneTick,
  CaptureGameProcess,
};

// StartWindow's controls, in design order.
namespace start {
inline constexpr ControlId 分组框2{WindowId::Start, 0};
inline constexpr ControlId 按钮1{WindowId::Start, 1};
inline constexpr ControlId 透明标签2{WindowId::Start, 2};
inline constexpr ControlId 编辑框2{WindowId::Start, 3};
inline constexpr ControlId 分组框1{WindowId::Start, 4};
inline constexpr ControlId 透明标签3{WindowId::Start, 5};
inline constexpr ControlId 编辑框3{WindowId::Start, 6};
inline constexpr ControlId 按钮2{WindowId::Start, 7};
inline constexpr ControlId 透明标签4{WindowId::Start, 8};
inline constexpr ControlId 透明标签5{WindowId::Start, 9};
}  // namespace start

// PanelWindow's controls, in design order.
namespace panel {
inline constexpr ControlId 透明标签1{WindowId::Panel, 0};
inline constexpr ControlId 图形按钮1{WindowId::Panel, 1};
inline constexpr ControlId 列表框1{WindowId::Panel, 2};
inline constexpr ControlId 透明标签2{WindowId::Panel, 3};
inline constexpr ControlId 时钟2{WindowId::Panel, 4};
inline constexpr ControlId 检测伴侣窗口{WindowId::Panel, 5};
inline constexpr ControlId 时钟3{WindowId::Panel, 6};
inline constexpr ControlId 时钟4{WindowId::Panel, 7};
inline constexpr ControlId 时钟5{WindowId::Panel, 8};
inline constexpr ControlId 定向进程{WindowId::Panel, 9};
}  // namespace panel

}  // namespace ui
