// Start-up, the single-instance guard, the notice, the hand-over and the end of the program,
// run whole on the fake platform.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/startup.h"
#include "tests/host/program_runner.h"

namespace {

using testing::ElementsAre;
using testing_support::RunProgram;
using ui::WindowId;
namespace start = ui::start;

constexpr const char* kEvent = "远汀模块测试";
constexpr const char* kMarker = "C:\\CHZS.txt";
constexpr const char* kSettings = "C:\\yxjc.ini";

class StartupTest : public testing::Test {
 protected:
  // The panel needs the companion running, or it ends the program at once.
  void SetUp() override { world.processes.Start("直播伴侣.exe"); }
  std::size_t IndexOf(std::string_view what) const {
    const auto& entries = world.journal.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (entries[i].what.starts_with(what)) return i;
    return entries.size();
  }
  // The program's process ended in an earlier run; its event went with it.
  void EndEarlierInstance() { world.session.namedEvents.clear(); }

  fake::World world;
};

TEST_F(StartupTest, FirstStartShowsTheNoticeBeforeTheStartWindow) {
  const auto run = RunProgram(world, 10000);
  EXPECT_FALSE(run.ended);
  ASSERT_EQ(world.dialogs.shown.size(), 1u);
  const fake::ShownBox& notice = world.dialogs.shown[0];
  EXPECT_EQ(notice.caption, "Text");
  EXPECT_EQ(notice.text,
            "注：本插件只能解决用直播伴侣直播时，软件占用率太高导致的游戏卡顿掉帧或系统卡顿问题。\r\n"
            "不能解决因本身电脑硬件配置或者网络原因导致的问题，请知悉！\r\n"
            "本插件不会对你的抖音账号安全跟游戏数据有任何影响，请放心使用！");
  EXPECT_EQ(notice.flags, 0x2040u);
  // Cleanup registered first, then the guard, the notice, and only then the window shows.
  EXPECT_EQ(IndexOf("RegisterExitCleanup"), 0u);
  EXPECT_LT(IndexOf("OpenEvent"), IndexOf("CreateEvent"));
  EXPECT_LT(IndexOf("CreateEvent"), IndexOf("MessageBox Text"));
  EXPECT_LT(IndexOf("MessageBox Text"), IndexOf("ShowWindow Start Show"));
  EXPECT_TRUE(world.windows.Window(WindowId::Start).visible);
  EXPECT_TRUE(world.session.namedEvents.count(kEvent));
}

TEST_F(StartupTest, ADirectoryAtTheMarkerPathCountsAsAbsent) {
  world.files.MakeDirectory(kMarker);
  RunProgram(world, 1000);
  ASSERT_EQ(world.dialogs.shown.size(), 1u);
  EXPECT_EQ(world.dialogs.shown[0].caption, "Text");
}

TEST_F(StartupTest, ASecondInstanceShowsOnlyItsMessageAndEnds) {
  world.session.namedEvents.insert(kEvent);
  const auto run = RunProgram(world, 10000);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(world.dialogs.shown.size(), 1u);
  EXPECT_EQ(world.dialogs.shown[0].text, "优化助手已在后台运行，如果看不到插件窗口请把伴侣最小化再恢复正常！");
  EXPECT_EQ(world.dialogs.shown[0].caption, "信息：");
  EXPECT_EQ(world.windows.Window(WindowId::Start).timesShown, 0);
  EXPECT_EQ(world.journal.Count("CreateEvent"), 0u);
  EXPECT_EQ(world.session.cleanupRuns, 1);
}

TEST_F(StartupTest, AnEventThatExistsEndsTheStartWhetherOrNotItOpens) {
  struct Case {
    const char* what;
    void (*stage)(fake::FakeSession& session);
    bool ends;
  };
  const Case cases[] = {
      {"no event", [](fake::FakeSession&) {}, false},
      {"an event that opens", [](fake::FakeSession& s) { s.namedEvents.insert(kEvent); }, true},
      {"an event of an instance run as administrator", [](fake::FakeSession& s) { s.deniedEvents.insert(kEvent); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::World scene;
    scene.files.Write(kMarker, "");
    c.stage(scene.session);
    const auto run = RunProgram(scene, 1000);
    EXPECT_EQ(run.ended, c.ends);
    EXPECT_EQ(scene.windows.Window(WindowId::Start).timesShown, c.ends ? 0 : 1);
    EXPECT_EQ(scene.journal.Count("CreateEvent"), c.ends ? 0u : 1u);
    if (c.ends) {
      EXPECT_EQ(run.exitCode, 0);
      ASSERT_EQ(scene.dialogs.shown.size(), 1u);
      EXPECT_EQ(scene.dialogs.shown[0].text, "优化助手已在后台运行，如果看不到插件窗口请把伴侣最小化再恢复正常！");
    } else {
      EXPECT_TRUE(scene.dialogs.shown.empty());
    }
  }
}

TEST_F(StartupTest, TheGameFieldShowsTheStoredNameOrThePlaceholder) {
  struct Case {
    const char* what;
    std::optional<std::string> settings;  // none: no file
    const char* field;
  };
  const Case cases[] = {
      {"no settings file", std::nullopt, "请输入进程名称.."},
      {"no section", "[other]\r\nid2=game.exe\r\n", "请输入进程名称.."},
      {"no key", "[id]\r\nother=game.exe\r\n", "请输入进程名称.."},
      {"an empty value", "[id]\r\nid2=\r\n", "请输入进程名称.."},
      {"a stored name, shown as stored", "[id]\r\nid2=游戏 Game.exe\r\n", "游戏 Game.exe"},
  };
  for (const Case& c : cases) {
    fake::World scene;
    scene.files.Write(kMarker, "");
    if (c.settings) scene.files.Write(kSettings, *c.settings);
    RunProgram(scene, 1000);
    EXPECT_EQ(scene.windows.Control(start::编辑框3).text, c.field) << c.what;
  }
}

TEST_F(StartupTest, ClosingTheStartWindowEndsTheProgramOnce) {
  world.At(2000, [&] { world.windows.Close(WindowId::Start); });
  const auto run = RunProgram(world, 60000);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.endedAt, 2000u);
  EXPECT_EQ(world.session.cleanupRuns, 1);
}

TEST_F(StartupTest, TheHandOverWritesTheMarkerLoadsThePanelAndDestroysTheStartWindow) {
  world.files.Write(kMarker, "left over bytes");
  world.At(1000, [&] { world.windows.Click(start::按钮1); });
  const auto run = RunProgram(world, 5000);
  EXPECT_FALSE(run.ended) << "the panel keeps the program running";
  const auto& entries = world.journal.Entries();
  const auto& hidden = entries[IndexOf("ShowWindow Start Hide")];
  EXPECT_GT(hidden.time, 1300u) << "hidden only after the 300 ms wait";
  EXPECT_LT(IndexOf("CreateEmptyFile C:\\CHZS.txt"), IndexOf("CreateWindow Panel"));
  EXPECT_LT(IndexOf("CreateWindow Panel"), IndexOf("Destroyed Start"));
  const fake::FakeFile* marker = world.files.Find(kMarker);
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->content, "");
  EXPECT_FALSE(world.windows.Window(WindowId::Start).exists);
  EXPECT_TRUE(world.windows.Window(WindowId::Panel).exists);
}

TEST_F(StartupTest, AfterOneHandOverTheNoticeIsNoLongerShown) {
  world.At(1000, [&] { world.windows.Click(start::按钮1); });
  RunProgram(world, 3000);
  EndEarlierInstance();
  world.dialogs.shown.clear();
  RunProgram(world, 3000);
  EXPECT_TRUE(world.dialogs.shown.empty());
}

TEST_F(StartupTest, ASecondClickDuringTheWaitHandsOverOnlyOnce) {
  world.At(1000, [&] { world.windows.Click(start::按钮1); });
  world.At(1100, [&] { world.windows.Click(start::按钮1); });
  RunProgram(world, 5000);
  EXPECT_EQ(world.journal.Count("CreateWindow Panel"), 1u);
  EXPECT_TRUE(world.windows.Window(WindowId::Panel).exists);
}

TEST_F(StartupTest, ClosingTheStartWindowDuringTheWaitEndsWithoutAPanel) {
  world.At(1000, [&] { world.windows.Click(start::按钮1); });
  world.At(1100, [&] { world.windows.Close(WindowId::Start); });
  const auto run = RunProgram(world, 5000);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(world.journal.Count("CreateWindow Panel"), 0u);
  EXPECT_EQ(world.session.cleanupRuns, 1);
}

}  // namespace

namespace {

using Call = platform::FakeLoaderHost::Call;

std::vector<Call::Kind> SkinCalls(const fake::World& world) {
  std::vector<Call::Kind> kinds;
  for (const Call& call : world.loader.calls)
    if (call.kind != Call::EntryPoint) kinds.push_back(call.kind);
  return kinds;
}

TEST_F(StartupTest, TheStartWindowWearsTheSkinFromBeforeTheNoticeUntilTheHandOver) {
  world.dialogs.readingTimeMs = 100;
  std::vector<Call::Kind> duringNotice;
  world.At(50, [&] { duringNotice = SkinCalls(world); });
  world.At(1000, [&] { world.windows.Click(start::按钮1); });
  RunProgram(world, 3000);
  EXPECT_THAT(duringNotice, ElementsAre(Call::SkinAttachRes, Call::SkinAdjustHsv));
  EXPECT_THAT(SkinCalls(world), ElementsAre(Call::SkinAttachRes, Call::SkinAdjustHsv, Call::SkinDetach));
  const Call& adjust = world.loader.calls[2];
  EXPECT_EQ(adjust.hue, 0);
  EXPECT_EQ(adjust.saturation, 0);
  EXPECT_EQ(world.loader.reservations, 1) << "mapped once, and never released";
}

TEST_F(StartupTest, ASecondInstanceIsNeverSkinned) {
  world.session.namedEvents.insert(kEvent);
  RunProgram(world, 1000);
  EXPECT_TRUE(world.loader.calls.empty());
}

TEST_F(StartupTest, WithoutASkinLibraryTheStartGoesOnUnchanged) {
  world.loader.addressSpaceExhausted = true;
  world.At(1000, [&] { world.windows.Click(start::按钮1); });
  const auto run = RunProgram(world, 3000);
  EXPECT_FALSE(run.ended);
  EXPECT_TRUE(world.loader.calls.empty());
  ASSERT_EQ(world.dialogs.shown.size(), 1u);
  EXPECT_EQ(world.dialogs.shown[0].caption, "Text");
  EXPECT_TRUE(world.windows.Window(WindowId::Panel).exists);
}

}  // namespace
