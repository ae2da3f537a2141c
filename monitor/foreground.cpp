#include "monitor/foreground.h"

#include <vector>

#include "monitor/companion.h"
#include "platform/text.h"

namespace monitor {

void ForegroundTick(ui::Context& context) {
  const bool companionInFront = ForegroundMatches(context.os.desktop, context.os.processes, kCompanionExe,
                                                  kCompanionWindowClass, kCompanionWindowTitle);
  context.windows.SetTopmost(ui::WindowId::Panel, companionInFront);
}

bool ForegroundMatches(platform::Desktop& desktop, platform::Processes& processes, std::string_view exeName,
                       std::string_view className, std::string_view titlePart) {
  const platform::WindowHandle window = desktop.ForegroundWindow();
  if (exeName.empty() && className.empty() && titlePart.empty()) return false;
  if (!exeName.empty() && WindowProcessName(desktop, processes, window) != exeName) return false;
  if (!className.empty() && WindowClassName(desktop, window) != className) return false;
  if (!titlePart.empty() && !platform::ContainsText(WindowTitle(desktop, window), titlePart)) return false;
  return true;
}

std::string WindowProcessName(platform::Desktop& desktop, platform::Processes& processes,
                              platform::WindowHandle window) {
  const std::uint32_t id = desktop.WindowProcessId(window);
  // No window, or one that has gone: no process to look for.
  if (id == 0) return {};
  // That one process is asked first: a snapshot of every process costs far more, ten times a
  // second. The snapshot still answers for a process that cannot be opened.
  if (std::optional<std::string> name = processes.ExeNameOf(id)) return *std::move(name);
  std::vector<platform::ProcessEntry> entries;
  if (!processes.Snapshot(platform::kSnapProcess, entries)) return {};
  for (const auto& entry : entries)
    if (entry.id == id) return entry.exeName;
  return {};
}

std::string WindowClassName(platform::Desktop& desktop, platform::WindowHandle window) {
  return desktop.WindowClassName(window);
}

std::string WindowTitle(platform::Desktop& desktop, platform::WindowHandle window) {
  return platform::FromUtf16(desktop.WindowTitle(window));
}

}  // namespace monitor
