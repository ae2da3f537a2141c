#pragma once
// A fake world with the companion running (its main process and its main window) and the
// notice already seen, in which the user hands over to the panel at a given time.
#include "platform/fake/world.h"
#include "ui/ids.h"

namespace testing_support {

inline constexpr const char* kRoomStatePath =
    "C:\\users\\streamer\\AppData\\Roaming\\webcast_mate\\WBStore\\roomStore.json";

struct CompanionScene {
  CompanionScene() {
    world.files.Write("C:\\CHZS.txt", "");
    companion = world.processes.Start("直播伴侣.exe");
    window = world.desktop.Add({.processId = companion,
                                .className = "Chrome_WidgetWin_1",
                                .title = u"直播伴侣",
                                .rect = {100, 100, 900, 700}});
  }
  // The click on the start window's button; the panel exists 300 ms later.
  void HandOverAt(std::uint64_t time) {
    world.At(time, [this] { world.windows.Click(ui::start::按钮1); });
  }
  // The companion rewrites its room-state file (UTF-8).
  void WriteRoomState(std::u8string_view content) {
    world.files.Write(kRoomStatePath, std::string(content.begin(), content.end()));
  }
  void GoLiveAt(std::uint64_t time) {
    world.At(time, [this] { WriteRoomState(u8R"({"roomStore":{"status":2,"title":"今晚上分"}})"); });
  }
  fake::FakeOtherWindow& Window() { return *world.desktop.Find(window); }
  const fake::FakeWindow& Panel() const { return world.windows.Window(ui::WindowId::Panel); }

  fake::World world;
  std::uint32_t companion = 0;
  platform::WindowHandle window = 0;
};

}  // namespace testing_support
