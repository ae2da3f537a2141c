#include "monitor/presence.h"

#include "monitor/companion.h"
#include "optimizer/process_operations.h"
#include "ui/message_box.h"

namespace monitor {

namespace panel = ui::panel;

namespace {
constexpr std::int32_t kDockIntervalMs = 10;
constexpr std::int32_t kLiveStatusIntervalMs = 1000;
}  // namespace

void PanelCreated(ui::Context& context) {
  context.windows.AppendLine(panel::列表框1, kStartedLogLine);
  if (!optimizer::ProcessExists(context.os.processes, kCompanionExe)) {
    ui::ShowInformation(context.os.dialogs, kCompanionMissingMessage);
    context.os.session.EndProcess(0);
  }
  // Docking shows the panel on its first tick.
  context.windows.SetVisible(ui::WindowId::Panel, false);
  context.windows.SetInterval(panel::时钟2, kDockIntervalMs);
  context.windows.SetInterval(panel::时钟3, kLiveStatusIntervalMs);
}

void CompanionGoneTick(ui::Context& context) {
  if (optimizer::ProcessExists(context.os.processes, kCompanionExe)) return;
  optimizer::TrimAllWorkingSets(context.os.processes);
  context.os.session.EndProcess(0);
}

}  // namespace monitor
