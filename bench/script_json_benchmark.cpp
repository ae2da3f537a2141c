// The live-status check's use of ScriptJson, once a second on the user-interface thread:
// create, parse the room-state file, read "roomStore.status", destroy.
#include <benchmark/benchmark.h>

#include "script/script_json.h"
#include "tests/host/script_room_state.h"

namespace {

void LiveStatusCheck(benchmark::State& state) {
  const std::string document = RoomStateDocument();
  state.SetLabel(std::to_string(document.size()) + " bytes");
  for (auto _ : state) {
    std::unique_ptr<script::ScriptJson> json = script::CreateScriptJson();
    json->Parse(document);
    std::string status = json->GetText("roomStore.status");
    benchmark::DoNotOptimize(status);
    json->Destroy();
  }
}
BENCHMARK(LiveStatusCheck)->Unit(benchmark::kMicrosecond);

}  // namespace
