// The settings file "C:\yxjc.ini" unreadable, corrupt, huge or a folder, and drive C: not
// writable: what the start window shows, whether the capture is armed and what it finds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing_support::CompanionScene;
using testing_support::RunProgram;
namespace start = ui::start;
namespace panel = ui::panel;

constexpr const char* kSettings = "C:\\yxjc.ini";
constexpr const char* kMarker = "C:\\CHZS.txt";
constexpr const char* kPlaceholder = "请输入进程名称..";
constexpr std::uint64_t kClickAt = 4000;

struct SettingsCase {
  const char* what;
  std::function<void(fake::FakeFiles&)> stage;
  std::string field;  // what 编辑框3 shows at start
  bool captured;      // game.exe runs: raised once the capture's first tick comes
};

void Write(fake::FakeFiles& files, std::string content) { files.Write(kSettings, std::move(content)); }

TEST(SettingsFileFaults, TheFieldAndTheCaptureFollowWhatTheProfileReadGives) {
  const std::string longValue(10300, 'a');
  std::string huge;
  for (int line = 0; line < 200000; ++line) huge += "; a comment line that only makes the file large\r\n";
  huge += "[id]\r\nid2=game.exe\r\n";
  const SettingsCase cases[] = {
      {"missing", [](auto&) {}, kPlaceholder, false},
      {"a folder", [](auto& files) { files.MakeDirectory(kSettings); }, kPlaceholder, false},
      {"unreadable", [](auto& files) { Write(files, "[id]\r\nid2=game.exe\r\n"); files.Find(kSettings)->readable = false; },
       kPlaceholder, false},
      {"binary", [](auto& files) { Write(files, std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR=", 17)); }, kPlaceholder, false},
      {"the key before any section", [](auto& files) { Write(files, "id2=game.exe\r\n[id]\r\n"); }, kPlaceholder, false},
      {"a broken section header", [](auto& files) { Write(files, "[id\r\nid2=game.exe\r\n"); }, kPlaceholder, false},
      {"another section", [](auto& files) { Write(files, "[ids]\r\nid2=game.exe\r\n"); }, kPlaceholder, false},
      {"blanks and capitals", [](auto& files) { Write(files, "  [ ID ]  \r\n  ID2 =  game.exe  \r\n"); }, "game.exe", true},
      {"quoted", [](auto& files) { Write(files, "[id]\r\nid2=\"game.exe\"\r\n"); }, "game.exe", true},
      {"line feeds only", [](auto& files) { Write(files, "[id]\nid2=game.exe"); }, "game.exe", true},
      {"huge, the key at its end", [&](auto& files) { Write(files, huge); }, "game.exe", true},
      // The read buffer holds 10240 bytes: the first 10239 come back, without the suffix.
      {"a value longer than the read buffer", [&](auto& files) { Write(files, "[id]\r\nid2=" + longValue + ".exe\r\n"); },
       longValue.substr(0, 10239), false},
  };
  for (const SettingsCase& c : cases) {
    SCOPED_TRACE(c.what);
    CompanionScene scene;
    const std::uint32_t game = scene.world.processes.Start("game.exe");
    c.stage(scene.world.files);
    std::string field;
    scene.world.At(500, [&] { field = scene.world.windows.Control(start::编辑框3).text; });
    scene.HandOverAt(1000);
    scene.GoLiveAt(1500);
    scene.world.At(kClickAt, [&] { scene.world.windows.Click(panel::图形按钮1); });
    const auto run = RunProgram(scene.world, kClickAt + 11000);
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(field, c.field);
    const bool armed = c.field != kPlaceholder;
    EXPECT_EQ(scene.world.journal.Count("StartTimer Panel.定向进程 5000") > 0, armed);
    EXPECT_EQ(scene.world.processes.Find(game)->priorityClass, c.captured ? 0x80u : 0x20u);
    const auto& log = scene.world.windows.Control(panel::列表框1).lines;
    EXPECT_EQ(!log.empty() && log.back() == "游戏进程已捕获优化", c.captured);
    EXPECT_TRUE(scene.world.dialogs.shown.empty());
  }
}

TEST(DriveNotWritable, TheHandOverGoesOnUnreportedAndTheNoticeShowsAgainAtTheNextStart) {
  CompanionScene scene;
  scene.world.files.Remove(kMarker);
  scene.world.files.MakeReadOnly("C:\\");
  scene.HandOverAt(1000);
  const auto first = RunProgram(scene.world, 3000);
  EXPECT_FALSE(first.ended);
  EXPECT_TRUE(scene.world.windows.Window(ui::WindowId::Panel).exists);
  EXPECT_EQ(scene.world.files.Find(kMarker), nullptr);
  ASSERT_EQ(scene.world.dialogs.shown.size(), 1u) << "the notice only";
  EXPECT_EQ(scene.world.dialogs.shown[0].caption, "Text");

  scene.world.session.namedEvents.clear();  // the first run's process has ended
  scene.world.dialogs.shown.clear();
  RunProgram(scene.world, 4000);
  ASSERT_EQ(scene.world.dialogs.shown.size(), 1u);
  EXPECT_EQ(scene.world.dialogs.shown[0].caption, "Text");
}

TEST(DriveNotWritable, ACancelThatCannotBeWrittenSaysSoAndLeavesTheFieldAndTheFile) {
  CompanionScene scene;
  scene.world.files.Write(kSettings, "[id]\r\nid2=old.exe\r\n");
  scene.world.files.MakeReadOnly("C:\\");
  scene.world.At(900, [&] { scene.world.windows.Type(start::编辑框3, ""); });
  scene.world.At(1000, [&] { scene.world.windows.Click(start::按钮2); });
  RunProgram(scene.world, 2000);
  ASSERT_EQ(scene.world.dialogs.shown.size(), 1u);
  EXPECT_THAT(scene.world.dialogs.shown[0].text, testing::StartsWith("指定进程优化取消失败！"));
  EXPECT_EQ(scene.world.windows.Control(start::编辑框3).text, "");
  EXPECT_EQ(scene.world.files.Find(kSettings)->content, "[id]\r\nid2=old.exe\r\n");
  EXPECT_EQ(scene.world.windows.Control(start::透明标签5).text, "当前定向优化的游戏进程：old.exe");
}

}  // namespace
