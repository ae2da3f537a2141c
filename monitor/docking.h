#pragma once
// The panel hangs below the companion's main window and follows it; it is minimised while
// the companion window is away and hidden while that window fills the screen.
#include <cstdint>
#include <functional>

#include "platform/desktop.h"
#include "ui/context.h"

namespace monitor {

enum class DockOutcome : std::uint8_t {
  Away,    // the companion window is hidden or minimised: show the panel minimised
  Big,     // it is maximised or covers the screen: hide the panel
  Docked,  // otherwise: the panel's top-left corner at the window's bottom-left corner
};

struct ScreenSize {
  std::int32_t width = 0, height = 0;
};

// The decision, from the companion window's rectangle and states and the screen size, which
// is asked for only when the decision depends on it (a shown window, not maximised, whose
// top-left corner lies within the margin).
DockOutcome DecideDocking(const platform::Rect& window, const platform::WindowStates& states,
                          const std::function<ScreenSize()>& screen);

// 时钟2, every 10 ms: applies the decision; without a companion window nothing changes.
void DockTick(ui::Context& context);
// Moves the panel under the companion window's rectangle, as the tick has just read it (left
// first, then top).
void PlacePanel(ui::Context& context, const platform::Rect& companionWindow);

}  // namespace monitor
