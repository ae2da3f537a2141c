// The room-state path as the panel runs it each second: the file's bytes as the document, read
// again into the engine that every reading shares, and GetText("roomStore.status").
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "monitor/live_status.h"

namespace {

// The status line follows the status text exactly: "2" live, "4" not live, else unchanged.
bool StatusLineFitsStatus(const monitor::RoomStateReading& reading) {
  if (reading.status == "2") return reading.statusLine == monitor::kLiveText;
  if (reading.status == "4") return reading.statusLine == monitor::kNotLiveText;
  return reading.statusLine.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const monitor::RoomStateReading reading = monitor::ReadRoomState(bytes);
  if (!StatusLineFitsStatus(reading)) {
    std::fprintf(stderr, "status \"%s\" gave a status line that does not fit it\n", reading.status.c_str());
    std::abort();
  }
  return 0;
}
