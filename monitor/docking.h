#pragma once
// The panel hangs below the companion's main window and follows it; it is minimised while
// the companion window is away and hidden while that window fills the screen.
#include <cstdint>

#include "platform/desktop.h"
#include "ui/context.h"

namespace monitor {

enum class DockOutcome : std::uint8_t {
  Away,    // the companion window is hidden or minimised: show the panel minimised
  Big,     // it is maximised or covers the screen: hide the panel
  Docked,  // otherwise: the panel's top-left corner at the window's bottom-left corner
};

// The decision, from the companion window's rectangle and states and the screen size.
DockOutcome DecideDocking(const platform::Rect& window, bool maximised, bool visible, std::int32_t screenWidth,
                          std::int32_t screenHeight);

// 时钟2, every 10 ms: applies the decision; without a companion window nothing changes.
void DockTick(ui::Context& context);
// Moves the panel under the companion window (left first, then top).
void PlacePanel(ui::Context& context);

}  // namespace monitor
