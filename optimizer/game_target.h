#pragma once
// The game the streamer names: the field on the start window, its save button, and the
// capture on the panel that raises the game's processes to the high priority class once.
#include <string>
#include <string_view>

#include "ui/context.h"

namespace optimizer {

inline constexpr std::string_view kSaveCancelledMessage = "指定进程优化已取消！";
inline constexpr std::string_view kCapturedLogLine = "游戏进程已捕获优化";

// 编辑框3, left button pressed: the placeholder makes way for typing.
void ClearPlaceholder(ui::Context& context);
// 按钮2's click: stores the field's name (or clears the setting) and says so.
void SaveGameProcess(ui::Context& context);
// 定向进程, every 5 s while looking for the game.
void CaptureGameProcess(ui::Context& context);

// The name as stored for a field's text: with ".exe" once (ASCII case ignored).
std::string StoredGameProcessName(std::string_view fieldText);
// The start window's line about which game is targeted.
std::string GameTargetText(std::string_view storedName);

}  // namespace optimizer
