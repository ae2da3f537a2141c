// The ticks that run for as long as the panel does, on the fake platform in a realistic scene:
// 150 processes in the snapshot (the companion's three among them), the companion's window
// in front, its room-state file of a few KB, the panel docked and floating above it. Docking
// (100 a second) and the foreground check (10 a second) run 110 times a second between them,
// the live status once a second. The fake's journal of calls is emptied after every tick.
#include <benchmark/benchmark.h>

#include <string>

#include "monitor/docking.h"
#include "monitor/foreground.h"
#include "monitor/live_status.h"
#include "platform/text.h"
#include "tests/host/companion_scene.h"
#include "tests/host/panel_scene.h"
#include "tests/host/script_room_state.h"

namespace {

constexpr int kProcesses = 150;

class TickScene {
 public:
  TickScene() {
    platform::TextCodePage = platform::kGbkCodePage;
    const char* const others[] = {"svchost.exe", "RuntimeBroker.exe", "chrome.exe", "explorer.exe", "conhost.exe",
                                  "steam.exe",   "SearchHost.exe",    "dwm.exe",    "game.exe",     "QQ.exe"};
    auto& processes = scene_.world.processes;
    for (int i = 0; processes.All().size() < kProcesses - 3; ++i) processes.Start(others[i % std::size(others)]);
    processes.Start("mate-ai.exe");
    processes.Start("MediaSDK_Server.exe");
    const std::uint32_t companion = processes.Start("直播伴侣.exe");  // late in the list, as it often is
    companionWindow_ = scene_.world.desktop.Add({.processId = companion,
                                                  .className = "Chrome_WidgetWin_1",
                                                  .title = u"直播伴侣",
                                                  .rect = {100, 100, 900, 700}});
    scene_.world.desktop.foreground = companionWindow_;
    const std::u16string document = platform::MultiByteToUtf16(platform::kGbkCodePage, RoomStateDocument());
    scene_.world.files.Write(testing_support::kRoomStatePath, platform::Utf16ToMultiByte(platform::kUtf8CodePage, document));
    // The steady state: docked, floating above the companion, the status line live.
    monitor::DockTick(scene_.context);
    monitor::ForegroundTick(scene_.context);
    monitor::LiveStatusTick(scene_.context);
    scene_.world.journal.Clear();
  }

  ui::Context& Context() { return scene_.context; }
  fake::FakeOtherWindow& CompanionWindow() { return *scene_.world.desktop.Find(companionWindow_); }
  void Settle() { scene_.world.journal.Clear(); }

 private:
  testing_support::PanelScene scene_;
  platform::WindowHandle companionWindow_ = 0;
};

void DockTick(benchmark::State& state) {
  TickScene scene;
  for (auto _ : state) {
    monitor::DockTick(scene.Context());
    scene.Settle();
  }
}
BENCHMARK(DockTick);

// The companion window dragged: every tick moves the panel.
void DockTickFollowing(benchmark::State& state) {
  TickScene scene;
  platform::Rect& rect = scene.CompanionWindow().rect;
  for (auto _ : state) {
    ++rect.left;
    ++rect.right;
    monitor::DockTick(scene.Context());
    scene.Settle();
  }
}
BENCHMARK(DockTickFollowing);

void ForegroundTick(benchmark::State& state) {
  TickScene scene;
  for (auto _ : state) {
    monitor::ForegroundTick(scene.Context());
    scene.Settle();
  }
}
BENCHMARK(ForegroundTick);

void LiveStatusTick(benchmark::State& state) {
  TickScene scene;
  for (auto _ : state) {
    monitor::LiveStatusTick(scene.Context());
    scene.Settle();
  }
}
BENCHMARK(LiveStatusTick)->Unit(benchmark::kMicrosecond);

}  // namespace
