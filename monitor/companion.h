#pragma once
// What the program relies on of the streaming companion: its process names, its main
// window's class and title, and its room-state file.
#include <array>
#include <string_view>

namespace monitor {

inline constexpr std::string_view kCompanionExe = "直播伴侣.exe";
inline constexpr std::string_view kCompanionAiExe = "mate-ai.exe";
inline constexpr std::string_view kCompanionMediaExe = "MediaSDK_Server.exe";
// All of its processes' names: the companion's, not a game's.
inline constexpr std::array<std::string_view, 3> kCompanionProcesses{kCompanionExe, kCompanionAiExe, kCompanionMediaExe};
inline constexpr std::string_view kCompanionWindowClass = "Chrome_WidgetWin_1";
inline constexpr std::string_view kCompanionWindowTitle = "直播伴侣";
// Below the user's roaming application-data folder.
inline constexpr std::u16string_view kRoomStateFile = u"webcast_mate\\WBStore\\roomStore.json";

}  // namespace monitor
