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

bool CoversScreen(const platform::Rect& window, std::int32_t screenWidth, std::int32_t screenHeight) {
  return window.left <= kScreenMargin && window.top <= kScreenMargin &&
         static_cast<double>(window.right) - (screenWidth - static_cast<double>(kScreenMargin)) >= kEdgeTolerance &&
         static_cast<double>(window.bottom) - (screenHeight - static_cast<double>(kScreenMargin)) >= kEdgeTolerance;
}

platform::WindowHandle FindCompanionWindow(platform::Desktop& desktop) {
  return desktop.FindTopLevelWindow(kCompanionWindowClass, kCompanionWindowTitle);
}

}  // namespace

DockOutcome DecideDocking(const platform::Rect& window, bool maximised, bool visible, std::int32_t screenWidth,
                          std::int32_t screenHeight) {
  const bool big = maximised || CoversScreen(window, screenWidth, screenHeight);
  if (!visible || window.left < kOffScreenLeft) return DockOutcome::Away;
  return big ? DockOutcome::Big : DockOutcome::Docked;
}

void DockTick(ui::Context& context) {
  platform::Desktop& desktop = context.os.desktop;
  const platform::WindowHandle companion = FindCompanionWindow(desktop);
  if (!companion) return;
  const std::int32_t screenWidth = desktop.ScreenWidth();
  const std::int32_t screenHeight = desktop.ScreenHeight();
  const platform::Rect rect = desktop.WindowRect(companion);
  const bool maximised = desktop.IsZoomed(companion);
  switch (DecideDocking(rect, maximised, desktop.IsVisible(companion), screenWidth, screenHeight)) {
    case DockOutcome::Away:
      context.windows.SetVisible(WindowId::Panel, true);
      context.windows.SetShowState(WindowId::Panel, ui::ShowState::Minimised);
      break;
    case DockOutcome::Big:
      context.windows.SetVisible(WindowId::Panel, false);
      break;
    case DockOutcome::Docked:
      PlacePanel(context);
      context.windows.SetVisible(WindowId::Panel, true);
      context.windows.SetShowState(WindowId::Panel, ui::ShowState::Normal);
      break;
  }
}

void PlacePanel(ui::Context& context) {
  const platform::WindowHandle companion = FindCompanionWindow(context.os.desktop);
  if (!companion) return;
  const platform::Rect rect = context.os.desktop.WindowRect(companion);
  context.windows.SetLeft(WindowId::Panel, rect.left);
  context.windows.SetTop(WindowId::Panel, rect.bottom);
}

}  // namespace monitor
