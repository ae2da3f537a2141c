// Game names as the user types them: empty, blanks only, very long, Chinese, or with
// characters that have no GBK form. Each is saved from 编辑框3, then the optimization's
// capture looks for it among the running processes.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"
#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing_support::CompanionScene;
using testing_support::RunProgram;
namespace start = ui::start;
namespace panel = ui::panel;

constexpr const char* kSettings = "C:\\yxjc.ini";
constexpr std::uint64_t kClickAt = 5000;

// GBK text as GetWindowTextA gives it: '?' for a character without a GBK form.
std::string Gbk(std::u16string_view text) { return platform::Utf16ToMultiByte(platform::kGbkCodePage, text); }

bool CaptureTimerRunning(const fake::Journal& journal) {
  bool running = false;
  for (const auto& entry : journal.Entries()) {
    if (entry.what.starts_with("StartTimer Panel.定向进程")) running = true;
    if (entry.what.starts_with("StopTimer Panel.定向进程")) running = false;
  }
  return running;
}

struct NameCase {
  const char* what;
  std::string typed;
  std::string storedValue;  // the line of "id2" as written, after "id2="; none: not written
  std::optional<std::u16string> process;  // a process running under this name
  bool captured;
};

TEST(GameNameFaults, EachNameIsSavedWholeAndTheCaptureFindsOnlyAProcessOfThatName) {
  const std::string longName(10500, 'g');
  const NameCase cases[] = {
      {"empty: the target is cancelled", "", "", u"game.exe", false},
      // The profile read drops the blanks: ".exe" is looked for, not the name as typed.
      {"blanks only: written as typed, read back without them", "   ", "   .exe", u"   .exe", false},
      {"Chinese", "原神", "原神.exe", u"原神.exe", true},
      {"Chinese, ASCII case ignored", "原神Game", "原神Game.exe", u"原神GAME.EXE", true},
      // The narrow snapshot names that process "游戏?.exe" too, but no process is named so.
      {"a character outside GBK", Gbk(u"游戏ก"), "游戏?.exe", u"游戏ก.exe", false},
      {"over 10,000 bytes: read back cut to 10239 bytes", longName, longName + ".exe", std::nullopt, false},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.what);
    CompanionScene scene;
    std::uint32_t game = 0;
    if (c.process)
      game = scene.world.processes.Add({.exeName = Gbk(*c.process), .wideExeName = *c.process}).id;
    scene.world.At(900, [&] { scene.world.windows.Type(start::编辑框3, c.typed); });
    scene.world.At(1000, [&] { scene.world.windows.Click(start::按钮2); });
    scene.HandOverAt(2000);
    scene.GoLiveAt(2500);
    scene.world.At(kClickAt, [&] { scene.world.windows.Click(panel::图形按钮1); });
    const auto run = RunProgram(scene.world, kClickAt + 16000);
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(scene.world.files.Find(kSettings)->content, "[id]\r\nid2=" + c.storedValue + "\r\n");
    ASSERT_EQ(scene.world.dialogs.shown.size(), 1u);
    if (!c.storedValue.empty()) {
      EXPECT_TRUE(scene.world.dialogs.shown[0].text.starts_with("游戏进程：" + c.storedValue + "  保存成功！"));
    }
    const auto& log = scene.world.windows.Control(panel::列表框1).lines;
    EXPECT_EQ(std::count(log.begin(), log.end(), "游戏进程已捕获优化"), c.captured ? 1 : 0);
    if (game) {
      EXPECT_EQ(scene.world.processes.Find(game)->priorityClass, c.captured ? 0x80u : 0x20u);
    }
    // A name that finds nothing keeps the capture looking, quietly; a capture stops it.
    const bool looking = !c.storedValue.empty() && !c.captured;
    EXPECT_EQ(CaptureTimerRunning(scene.world.journal), looking);
  }
}

}  // namespace
