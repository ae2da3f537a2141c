#pragma once
// Whether the companion runs: the panel refuses to start without it, and the program ends
// once it has gone.
#include "ui/context.h"

namespace monitor {

inline constexpr std::string_view kStartedLogLine = "直播伴侣已启动";
inline constexpr std::string_view kCompanionMissingMessage = "请先运行直播伴侣";

// PanelWindow's created handler.
void PanelCreated(ui::Context& context);
// 时钟5, once the optimization runs: one more trim of every process, then the end.
void CompanionGoneTick(ui::Context& context);

}  // namespace monitor
