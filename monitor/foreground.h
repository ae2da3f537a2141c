#pragma once
// The panel floats above other windows exactly while the companion's main window is in front.
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/processes.h"
#include "ui/context.h"

namespace monitor {

// 检测伴侣窗口, every 100 ms from the panel's creation.
void ForegroundTick(ui::Context& context);
// Whether the foreground window's process has exactly this executable name, exactly this
// class, and a title containing `titlePart`; an empty criterion is not tested, and with all
// three empty nothing matches. A later query is made only when the earlier tests passed.
bool ForegroundMatches(platform::Desktop& desktop, platform::Processes& processes, std::string_view exeName,
                       std::string_view className, std::string_view titlePart);
// The executable file name of the process that owns the window; empty when not found.
std::string WindowProcessName(platform::Desktop& desktop, platform::Processes& processes, platform::WindowHandle window);
std::string WindowClassName(platform::Desktop& desktop, platform::WindowHandle window);
// The title as GBK text.
std::string WindowTitle(platform::Desktop& desktop, platform::WindowHandle window);

}  // namespace monitor
