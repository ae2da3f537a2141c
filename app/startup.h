#pragma once
// Start-up and the hand-over from the start window to the panel.
#include <string>
#include <string_view>

#include "platform/files.h"
#include "app/skin_attachment.h"
#include "platform/platform.h"
#include "ui/context.h"

namespace app {

inline constexpr std::string_view kInstanceEventName = "远汀模块测试";
inline constexpr std::string_view kNoticeMarkerFile = "C:\\CHZS.txt";
inline constexpr std::string_view kAlreadyRunningMessage =
    "优化助手已在后台运行，如果看不到插件窗口请把伴侣最小化再恢复正常！";
inline constexpr std::string_view kNoticeMessage =
    "注：本插件只能解决用直播伴侣直播时，软件占用率太高导致的游戏卡顿掉帧或系统卡顿问题。\r\n"
    "不能解决因本身电脑硬件配置或者网络原因导致的问题，请知悉！\r\n"
    "本插件不会对你的抖音账号安全跟游戏数据有任何影响，请放心使用！";
inline constexpr std::string_view kNoticeCaption = "Text";

// StartWindow's created handler: runs before the window is first shown; dresses it in the skin.
void PrepareStartWindow(ui::Context& context, SkinLibrary& skin);
// The click of StartWindow's 按钮1; takes the skin off before the panel is made.
void HandOverToPanel(ui::Context& context, SkinLibrary& skin);
// Returns only in the first instance; a later one shows its message and ends.
void GuardSingleInstance(platform::Platform& os);
// True only when something that is not a directory exists at the path.
bool FileExists(platform::Files& files, std::string_view path);

}  // namespace app
