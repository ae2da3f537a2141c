// The game-process field, its save button and the capture of the game's processes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "optimizer/game_suggestions.h"
#include "optimizer/game_target.h"
#include "tests/host/companion_scene.h"
#include "tests/host/panel_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing::ElementsAre;
using testing_support::CompanionScene;
using testing_support::PanelScene;
using testing_support::RunProgram;
namespace start = ui::start;
namespace panel = ui::panel;

constexpr const char* kSettings = "C:\\yxjc.ini";
constexpr const char* kPlaceholder = "请输入进程名称..";

class SaveGameProcessTest : public testing::Test {
 protected:
  // Types `text` into the field (if given), clicks save at 1000 ms and runs on a little.
  void TypeAndSave(std::optional<std::string> text) {
    if (text) scene.world.At(900, [this, text] { scene.world.windows.Type(start::编辑框3, *text); });
    scene.world.At(1000, [this] { scene.world.windows.Click(start::按钮2); });
    RunProgram(scene.world, 2000);
  }
  std::string Stored() {
    return scene.world.files.ReadIniString(kSettings, "id", "id2", 10240);
  }
  std::string Field() const { return scene.world.windows.Control(start::编辑框3).text; }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : scene.world.dialogs.shown) texts.push_back(box.caption + box.text);
    return texts;
  }

  CompanionScene scene;
};

TEST_F(SaveGameProcessTest, ANameIsStoredWithItsSuffixAndConfirmed) {
  TypeAndSave("游戏 Game");
  EXPECT_EQ(Stored(), "游戏 Game.exe");
  EXPECT_EQ(scene.world.files.Find(kSettings)->content, "[id]\r\nid2=游戏 Game.exe\r\n");
  EXPECT_THAT(Boxes(), ElementsAre("信息：游戏进程：游戏 Game.exe  保存成功！请确认输入准确，否则当前功能无效！\r\n"
                                   "如果输入空白，则表示无需对游戏进程定向优化！"));
  EXPECT_EQ(Field(), "游戏 Game");
  EXPECT_EQ(scene.world.windows.Control(start::透明标签5).text, "当前定向优化的游戏进程：游戏 Game.exe");
}

TEST_F(SaveGameProcessTest, ANameThatEndsInExeGetsNoSecondSuffix) {
  for (const char* name : {"game.exe", "GAME.EXE", "game.Exe"}) {
    EXPECT_EQ(optimizer::StoredGameProcessName(name), name);
  }
  EXPECT_EQ(optimizer::StoredGameProcessName("game.ex"), "game.ex.exe");
  EXPECT_EQ(optimizer::StoredGameProcessName(".exe"), ".exe");
  // Shown at start-up as stored, ".exe" included, and saved again without editing.
  scene.world.files.Write(kSettings, "[id]\r\nid2=game.exe\r\n");
  TypeAndSave(std::nullopt);
  EXPECT_EQ(Stored(), "game.exe");
}

class CancelTest : public SaveGameProcessTest, public testing::WithParamInterface<const char*> {};

TEST_P(CancelTest, ThePlaceholderOrAnEmptyFieldCancels) {
  scene.world.files.Write(kSettings, "[id]\r\nid2=old.exe\r\n");
  TypeAndSave(GetParam());
  EXPECT_THAT(Boxes(), ElementsAre("信息：指定进程优化已取消！"));
  EXPECT_EQ(scene.world.files.Find(kSettings)->content, "[id]\r\nid2=\r\n") << "the key stays, empty";
  EXPECT_EQ(Field(), kPlaceholder);
  EXPECT_EQ(scene.world.windows.Control(start::透明标签5).text, "当前未指定游戏进程，只优化直播伴侣");
}

INSTANTIATE_TEST_SUITE_P(PlaceholderOrEmpty, CancelTest, testing::Values(kPlaceholder, ""));

TEST_F(SaveGameProcessTest, AWriteThePlatformRefusesIsReportedAndTheFieldKept) {
  scene.world.files.MakeReadOnly("C:\\");
  TypeAndSave("game");
  ASSERT_EQ(scene.world.dialogs.shown.size(), 1u);
  EXPECT_THAT(scene.world.dialogs.shown[0].text, testing::StartsWith("游戏进程：game.exe  保存失败！"));
  EXPECT_THAT(scene.world.dialogs.shown[0].text, testing::HasSubstr("管理员身份运行"));
  EXPECT_EQ(scene.world.files.Find(kSettings), nullptr);
  EXPECT_EQ(Field(), "game");
}

TEST(ClearPlaceholder, PressingOnThePlaceholderEmptiesItAndTheFieldTakesTheFocus) {
  struct Case {
    const char* field;
    const char* after;
  };
  for (const Case& c : {Case{kPlaceholder, ""}, Case{"game.exe", "game.exe"}, Case{"请输入进程名称.", "请输入进程名称."}}) {
    CompanionScene scene;
    scene.world.At(500, [&] { scene.world.windows.Type(start::编辑框3, c.field); });
    scene.world.At(1000, [&] { scene.world.windows.PressLeftButton(start::编辑框3); });
    RunProgram(scene.world, 1500);
    EXPECT_EQ(scene.world.windows.Control(start::编辑框3).text, c.after) << c.field;
    EXPECT_TRUE(scene.world.windows.Control(start::编辑框3).focused) << c.field;
  }
}

class CaptureTest : public testing::Test {
 protected:
  void SetUp() override {
    scene.onHandler = [this](ui::HandlerId handler) {
      if (handler == ui::HandlerId::CaptureGameProcess) optimizer::CaptureGameProcess(scene.context);
    };
    scene.world.files.Write(kSettings, "[id]\r\nid2=Game.exe\r\n");
    scene.windows.SetInterval(panel::定向进程, 5000);
  }
  PanelScene scene;
  std::uint32_t first = 0, second = 0;
};

TEST_F(CaptureTest, LooksEveryFiveSecondsAndCapturesOnce) {
  scene.world.At(12000, [this] {
    first = scene.world.processes.Start("GAME.exe");
    second = scene.world.processes.Start("game.exe");
  });
  scene.RunUntil(30000);
  EXPECT_EQ(scene.world.processes.Find(first)->priorityClass, 0x80u);
  EXPECT_EQ(scene.world.processes.Find(second)->priorityClass, 0x80u);
  EXPECT_THAT(scene.world.windows.Control(panel::列表框1).lines, ElementsAre("游戏进程已捕获优化"));
  EXPECT_EQ(scene.windows.Interval(panel::定向进程), 0);
  EXPECT_EQ(scene.world.journal.Count("Open 0x200"), 2u) << "captured at 15000 only";
}

TEST_F(CaptureTest, AGameThatIsNotRunningLeavesTheTimerLookingQuietly) {
  scene.RunUntil(16000);
  EXPECT_EQ(scene.windows.Interval(panel::定向进程), 5000);
  EXPECT_TRUE(scene.world.windows.Control(panel::列表框1).lines.empty());
}

TEST_F(CaptureTest, ANameRemovedWhileLookingStopsTheTimer) {
  scene.world.At(7000, [this] { scene.world.files.Write(kSettings, "[id]\r\nid2=\r\n"); });
  scene.world.At(8000, [this] { scene.world.processes.Start("Game.exe"); });
  scene.RunUntil(30000);
  EXPECT_EQ(scene.windows.Interval(panel::定向进程), 0);
  EXPECT_EQ(scene.world.journal.Count("Open 0x200"), 0u);
}

}  // namespace

namespace {

using testing::IsEmpty;

// The field suggests the names of the games that could be running: not the system's own
// processes, not the companion's, not this program.
TEST(GameSuggestions, NameTheProcessesThatRunOutsideTheSystemOnce) {
  fake::World world;
  fake::FakeProcesses& processes = world.processes;
  processes.Add({.id = 4, .exeName = "System", .openable = false});
  processes.Add({.exeName = "svchost.exe", .imagePath = u"C:\\WINDOWS\\system32\\svchost.exe"});
  processes.Add({.exeName = "explorer.exe", .imagePath = u"C:\\windows\\explorer.exe"});
  processes.Add({.exeName = "csrss.exe", .openable = false});
  processes.Add({.exeName = "Windows-Helper.exe", .imagePath = u"C:\\windowsapps\\Windows-Helper.exe"});
  processes.Add({.exeName = "zombies.exe"});
  processes.Add({.exeName = "Game.exe"});
  processes.Add({.exeName = "game.EXE"});
  processes.Add({.exeName = "?.exe", .wideExeName = u"原神🎮.exe"});
  processes.Add({.exeName = "Apex.exe"});
  processes.Start("直播伴侣.exe");
  processes.Start("MediaSDK_Server.exe");
  processes.Start("mate-ai.exe");
  processes.ownId = processes.Start("companion-tuner.exe");
  EXPECT_THAT(optimizer::GameSuggestions(processes, world.files),
              ElementsAre(u"Apex.exe", u"Game.exe", u"Windows-Helper.exe", u"zombies.exe", u"原神🎮.exe"));
  processes.failSnapshots = true;
  EXPECT_THAT(optimizer::GameSuggestions(processes, world.files), IsEmpty());
}

// The start window's field offers the running games, as they run when the list is built.
TEST(GameSuggestions, TheFieldOffersThemAsTheyRunWhenTheListIsBuilt) {
  CompanionScene scene;
  std::vector<std::u16string> before, after;
  scene.world.At(500, [&] { before = scene.world.windows.Suggestions(start::编辑框3); });
  scene.world.At(600, [&] { scene.world.processes.Start("LeagueClient.exe"); });
  scene.world.At(700, [&] { after = scene.world.windows.Suggestions(start::编辑框3); });
  RunProgram(scene.world, 1000);
  EXPECT_THAT(before, IsEmpty()) << "the companion alone runs";
  EXPECT_THAT(after, ElementsAre(u"LeagueClient.exe"));
}

}  // namespace
