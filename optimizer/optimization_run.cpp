#include "optimizer/optimization_run.h"

#include "monitor/companion.h"
#include "monitor/live_status.h"
#include "optimizer/freed_memory.h"
#include "optimizer/game_process_settings.h"
#include "optimizer/process_operations.h"
#include "optimizer/pumped_waits.h"
#include "ui/message_box.h"

namespace optimizer {

namespace panel = ui::panel;
using monitor::kCompanionAiExe;
using monitor::kCompanionExe;
using monitor::kCompanionMediaExe;

namespace {
constexpr std::int32_t kCaptureIntervalMs = 5000;
constexpr std::int32_t kRetuneIntervalMs = 60000;
constexpr std::int32_t kCompanionCheckIntervalMs = 5000;
constexpr std::int64_t kCompanionPinPauseMs = 2000;
}  // namespace

void StartOptimization(ui::Context& context) {
  ui::Model& windows = context.windows;
  platform::Processes& processes = context.os.processes;
  platform::MessageLoop& loop = context.os.loop;
  const std::string gameProcess = ReadGameProcessName(context.os.files);
  if (windows.Text(panel::透明标签1) != monitor::kLiveText) {
    ui::ShowInformation(context.os.dialogs, kNotLiveMessage, kNotLiveCaption);
    return;
  }
  // Disabled before the first wait, so that the start runs once.
  windows.Disable(panel::图形按钮1);
  windows.ClearLines(panel::列表框1);
  windows.InsertLine(panel::列表框1, 0, kStartedLogLine);
  windows.SetText(panel::透明标签1, kInitialisingText);
  windows.SetInterval(panel::定向进程, gameProcess.empty() ? 0 : kCaptureIntervalMs);
  const std::uint64_t before = CompanionWorkingSetBytes(processes);

  TrimAllWorkingSets(processes);
  PumpedDelay(loop, 500);
  TrimNamedProcesses(processes, kCompanionExe);
  TrimNamedProcesses(processes, kCompanionAiExe);
  TrimNamedProcesses(processes, kCompanionMediaExe);
  PumpedDelay(loop, 300);
  PinNamedProcesses(context, kCompanionExe, 2, kCompanionPinPauseMs);
  PumpedDelay(loop, 300);
  PinNamedProcesses(context, kCompanionMediaExe, 1, 0);
  PumpedDelay(loop, 300);
  PinNamedProcesses(context, kCompanionAiExe, 1, 0);
  TrimAllWorkingSets(processes);

  ShowFreedMemory(context, before, CompanionWorkingSetBytes(processes));
  windows.SetInterval(panel::时钟4, kRetuneIntervalMs);
  windows.SetInterval(panel::时钟5, kCompanionCheckIntervalMs);
  windows.SetText(panel::透明标签1, kStartedLogLine);
}

void RetuneTick(ui::Context& context) {
  platform::Processes& processes = context.os.processes;
  const std::uint64_t before = CompanionWorkingSetBytes(processes);
  TrimNamedProcesses(processes, kCompanionExe);
  PumpedDelay(context.os.loop, 500);
  TrimNamedProcesses(processes, kCompanionMediaExe);
  PumpedDelay(context.os.loop, 500);
  TrimNamedProcesses(processes, kCompanionAiExe);
  context.windows.InsertLine(panel::列表框1, 0, kRetunedLogLine);
  ShowFreedMemory(context, before, CompanionWorkingSetBytes(processes));
}

}  // namespace optimizer
