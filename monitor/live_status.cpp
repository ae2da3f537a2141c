#include "monitor/live_status.h"

#include "monitor/companion.h"
#include "optimizer/process_operations.h"
#include "platform/text.h"
#include "script/script_engine.h"
#include "script/script_json.h"

namespace monitor {

void LiveStatusTick(ui::Context& context) {
  if (!optimizer::ProcessExists(context.os.processes, kCompanionExe)) context.os.session.EndProcess(0);
  ReadLiveStatus(context);
}

void ReadLiveStatus(ui::Context& context) {
  platform::Files& files = context.os.files;
  const RoomStateReading reading =
      ReadRoomState(files.ReadWholeFile(RoomStatePath(files.AppDataFolder()), kMaxRoomStateBytes));
  if (!reading.statusLine.empty()) context.windows.SetText(ui::panel::透明标签1, reading.statusLine);
}

std::u16string RoomStatePath(std::u16string folder) {
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder.append(kRoomStateFile);
}

namespace {

// One engine for every reading, made at the first (and, should that fail, at the next): each
// reading replaces its root, so nothing of one reading reaches the next. It is the embedded
// engine: the Script Control keeps what every reading gives it (under wine64 about 9 KB a
// reading in one engine, 23 KB with a fresh engine each time, so that a stream of some hours
// would cost tens of megabytes), while the embedded engine stays flat and reads the file in
// 40 us there. Both parse the file with JSON.parse, so the reading is the same. It lives as
// long as the process, as the windows do.
script::ScriptJson& RoomStateObject() {
  static script::ScriptJson* const json = script::CreateScriptJson(script::CreateDuktapeEngine).release();
  return *json;
}

}  // namespace

RoomStateReading ReadRoomState(script::ScriptJson& json, const std::optional<std::string>& bytes) {
  json.Reparse(RoomStateDocument(bytes.value_or(std::string())));
  RoomStateReading reading{json.GetText("roomStore.status"), {}};
  if (reading.status == "2") reading.statusLine = kLiveText;
  else if (reading.status == "4") reading.statusLine = kNotLiveText;
  return reading;
}

RoomStateReading ReadRoomState(const std::optional<std::string>& bytes) {
  return ReadRoomState(RoomStateObject(), bytes);
}

std::u16string RoomStateDocument(std::string_view bytes) {
  // A byte-order mark is no text: it would spoil the document.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  // Straight to the engine's UTF-16: a detour through the program's GBK and the system's ANSI
  // code page would lose what GBK cannot hold and, where that code page is not 936, could
  // turn the second byte of a GBK character into a backslash that escapes the quote after it.
  return platform::MultiByteToUtf16(platform::kUtf8CodePage, bytes);
}

}  // namespace monitor
