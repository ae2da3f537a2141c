#pragma once
// Whether a broadcast is live, read once a second from the companion's room-state file into
// the panel's status line; and the end of the program once the companion has gone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "ui/context.h"

namespace script {
class ScriptJson;
}

namespace monitor {

inline constexpr std::string_view kLiveText = "检测到已开播";
inline constexpr std::string_view kNotLiveText = "您还未开播";
// A room-state file larger than this is not read at all: the companion's own is a few KB,
// and a bigger one would cost the user-interface thread more than a tick may.
inline constexpr std::uint64_t kMaxRoomStateBytes = 2u << 20;

// What the status line makes of one reading of the room-state file.
struct RoomStateReading {
  std::string status;          // the text of "roomStore.status"; empty when there is none
  std::string_view statusLine;  // what the status line is set to; empty: left unchanged
};

// 时钟3, every second.
void LiveStatusTick(ui::Context& context);
// Reads the room-state file and writes the status line when the status is known.
void ReadLiveStatus(ui::Context& context);
// The room-state file below an application-data folder (relative when the folder is empty).
// Paths stay UTF-16: a user's folder may have no form in the system's ANSI code page.
std::u16string RoomStatePath(std::u16string folder);
// The reading of the file's bytes (none: missing or unreadable) in the engine of `json`, or
// without it in the one engine that the readings of the process share.
RoomStateReading ReadRoomState(script::ScriptJson& json, const std::optional<std::string>& bytes);
RoomStateReading ReadRoomState(const std::optional<std::string>& bytes);
// The document the file's UTF-8 bytes hold, for the engine: up to the first zero byte, without
// a leading byte-order mark, as UTF-16.
std::u16string RoomStateDocument(std::string_view bytes);

}  // namespace monitor
