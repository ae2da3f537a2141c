#include "optimizer/game_process_settings.h"

namespace optimizer {

namespace {
constexpr std::uint32_t kReadBufferSize = 10240;
}

std::string ReadGameProcessName(platform::Files& files) {
  return files.ReadIniString(kGameSettingsFile, kGameSettingsSection, kGameSettingsKey, kReadBufferSize);
}

}  // namespace optimizer
