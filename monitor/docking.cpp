#include "monitor/docking.h"

#include "monitor/companion.h"

namespace monitor {

using ui::WindowId;

namespace {

// A window that is not maximised still covers the screen within this margin.
constexpr std::int32_t kScreenMargin = 10;
// Left of this a window is off the screen: the platform parks minimised windows at -32000.
constexpr std::int32_t kOffScreenLeft = -10000;
constexpr double kEdgeTolerance = -0.0000001;

bool CoversScreen(const platform::Rect& window, const std::function<ScreenSize()>& screen) {
  if (window.left > kScreenMargin || window.top > kScreenMargin) return false;
  const ScreenSize size = screen();
  return static_cast<double>(window.right) - (size.width - static_cast<double>(kScreenMargin)) >= kEdgeTolerance &&
         static_cast<double>(window.bottom) - (size.height - static_cast<double>(kScreenMargin)) >= kEdgeTolerance;
}

}  // namespace

DockOutcome DecideDocking(const platform::Rect& window, const platform::WindowStates& states,
                          const std::function<ScreenSize()>& screen) {
  if (!states.visible || window.left < kOffScreenLeft) return DockOutcome::Away;
  return states.maximised || CoversScreen(window, screen) ? DockOutcome::Big : DockOutcome::Docked;
}

// Each platform query here is a round trip to the window server under Wine, a hundred times
// a second: the companion window is found once per tick, and the screen is measured only
// when the decision needs it.
void DockTick(ui::Context& context) {
  platform::Desktop& desktop = context.os.desktop;
  const platform::WindowHandle companion = desktop.FindTopLevelWindow(kCompanionWindowClass, kCompanionWindowTitle);
  if (!companion) return;
  const platform::Rect rect = desktop.WindowRect(companion);
  const auto screen = [&desktop] { return ScreenSize{desktop.ScreenWidth(), desktop.ScreenHeight()}; };
  switch (DecideDocking(rect, desktop.TopLevelStates(companion), screen)) {
    case DockOutcome::Away:
      context.windows.SetVisible(WindowId::Panel, true);
      context.windows.SetShowState(WindowId::Panel, ui::ShowState::Minimised);
      break;
    case DockOutcome::Big:
      context.windows.SetVisible(WindowId::Panel, false);
      break;
    case DockOutcome::Docked:
      PlacePanel(context, rect);
      context.windows.SetVisible(WindowId::Panel, true);
      context.windows.SetShowState(WindowId::Panel, ui::ShowState::Normal);
      break;
  }
}

void PlacePanel(ui::Context& context, const platform::Rect& companionWindow) {
  context.windows.SetLeft(WindowId::Panel, companionWindow.left);
  context.windows.SetTop(WindowId::Panel, companionWindow.bottom);
}

}  // namespace monitor
