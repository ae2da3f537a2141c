#pragma once
// What the game field suggests while the streamer types: the executable names of the
// processes that run now, each once, sorted without regard to ASCII case. Left out are the
// system's own processes, which no game is: those whose executable lies in the Windows folder
// or cannot be located (the system's protected processes, the idle and system processes);
// and the companion's processes and this program itself.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace optimizer {

std::vector<std::u16string> GameSuggestions(platform::Processes& processes, platform::Files& files);

}  // namespace optimizer
