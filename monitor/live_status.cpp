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

std::string RoomStatePath(std::string folder) {
  if (!folder.empty() && !platform::EndsWithBackslash(folder)) folder += '\\';
  return folder + std::string(kRoomStateFile);
}

namespace {

// One engine for every reading, made at the first: each reading replaces its root, so nothing
// of one reading reaches the next. It is the embedded engine: the Script Control keeps what
// every reading gives it (under wine64 about 9 KB a reading in one engine, 23 KB with a
// fresh engine each time, so that a stream of some hours would cost tens of megabytes),
// while the embedded engine stays flat and reads the file in 40 us there. Both parse the
// file with JSON.parse, so the reading is the same. It lives as long as the process, as the
// windows do.
script::ScriptJson& RoomStateObject() {
  static script::ScriptJson* const json = script::CreateScriptJson(script::CreateDuktapeEngine).release();
  return *json;
}

}  // namespace

RoomStateReading ReadRoomState(const std::optional<std::string>& bytes) {
  script::ScriptJson& json = RoomStateObject();
  json.Reparse(Utf8ToText(bytes.value_or(std::string())));
  RoomStateReading reading{json.GetText("roomStore.status"), {}};
  if (reading.status == "2") reading.statusLine = kLiveText;
  else if (reading.status == "4") reading.statusLine = kNotLiveText;
  return reading;
}

std::string Utf8ToText(std::string_view bytes) {
  // A byte-order mark is no text, and has no GBK form: it would spoil the document.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  return platform::FromUtf16(platform::MultiByteToUtf16(platform::kUtf8CodePage, bytes));
}

}  // namespace monitor
