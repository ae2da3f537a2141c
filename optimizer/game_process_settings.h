#pragma once
// The game-process settings file: the one setting of the program, the game's executable name.
#include <string>
#include <string_view>

#include "platform/files.h"

namespace optimizer {

inline constexpr std::string_view kGameSettingsFile = "C:\\yxjc.ini";
inline constexpr std::string_view kGameSettingsSection = "id";
inline constexpr std::string_view kGameSettingsKey = "id2";
// What the game-process field shows when no name is stored.
inline constexpr std::string_view kGameProcessPlaceholder = "请输入进程名称..";

// The stored name ("" when the file, the section or the key is missing).
std::string ReadGameProcessName(platform::Files& files);

}  // namespace optimizer
