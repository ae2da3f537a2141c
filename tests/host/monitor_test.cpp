// The panel beside the companion: its start, docking, the foreground rule and the end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "monitor/docking.h"
#include "monitor/foreground.h"
#include "monitor/presence.h"
#include "tests/host/companion_scene.h"
#include "tests/host/panel_scene.h"
#include "tests/host/program_runner.h"

namespace {

using monitor::DecideDocking;
using monitor::DockOutcome;
using testing::ElementsAre;
using testing_support::CompanionScene;
using testing_support::PanelScene;
using testing_support::RunProgram;
using ui::WindowId;
namespace panel = ui::panel;

std::uint64_t TimeOf(const fake::Journal& journal, std::string_view what) {
  for (const auto& entry : journal.Entries())
    if (entry.what.starts_with(what)) return entry.time;
  return fake::kForever;
}

TEST(PanelCreated, WithoutTheCompanionTheProgramSaysSoAndEnds) {
  CompanionScene scene;
  scene.world.processes.End(scene.companion);
  scene.HandOverAt(100);
  const auto run = RunProgram(scene.world, 60000);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(scene.world.windows.Control(panel::列表框1).lines, ElementsAre("直播伴侣已启动"));
  ASSERT_EQ(scene.world.dialogs.shown.size(), 1u);
  EXPECT_EQ(scene.world.dialogs.shown[0].text, "请先运行直播伴侣");
  EXPECT_EQ(scene.world.dialogs.shown[0].caption, "信息：");
  EXPECT_EQ(scene.world.journal.Count("StartTimer Panel.时钟"), 0u);
  EXPECT_LT(TimeOf(scene.world.journal, "CreateEmptyFile C:\\CHZS.txt"), fake::kForever)
      << "the marker is written although the panel ends the program at once";
  EXPECT_EQ(scene.world.session.cleanupRuns, 1);
}

TEST(PanelCreated, WithTheCompanionThePanelStaysHiddenUntilDockingShowsIt) {
  CompanionScene scene;
  scene.HandOverAt(100);
  RunProgram(scene.world, 2000);
  const auto& journal = scene.world.journal;
  const std::uint64_t created = TimeOf(journal, "CreateWindow Panel");
  EXPECT_THAT(journal.Matching("StartTimer Panel."),
              ElementsAre("StartTimer Panel.检测伴侣窗口 100", "StartTimer Panel.时钟2 10", "StartTimer Panel.时钟3 1000"));
  EXPECT_EQ(TimeOf(journal, "ShowWindow Panel ShowNoActivate"), created + 10) << "first shown by the first docking tick";
  EXPECT_THAT(scene.world.windows.Control(panel::列表框1).lines, ElementsAre("直播伴侣已启动"));
}

TEST(Docking, TheDecision) {
  struct Case {
    const char* what;
    platform::Rect window;
    bool maximised;
    bool visible;
    DockOutcome outcome;
  };
  const Case cases[] = {
      {"an ordinary window", {100, 100, 900, 700}, false, true, DockOutcome::Docked},
      {"maximised", {-8, -8, 1928, 1048}, true, true, DockOutcome::Big},
      {"covering the screen within 10 pixels", {0, 0, 1910, 1070}, false, true, DockOutcome::Big},
      {"one pixel short on the right", {0, 0, 1909, 1070}, false, true, DockOutcome::Docked},
      {"one pixel short at the bottom", {0, 0, 1910, 1069}, false, true, DockOutcome::Docked},
      {"left edge 11", {11, 0, 1920, 1080}, false, true, DockOutcome::Docked},
      {"top edge 11", {0, 11, 1920, 1080}, false, true, DockOutcome::Docked},
      {"beyond the screen on every side", {-50, -50, 2500, 1500}, false, true, DockOutcome::Big},
      {"minimised", {-32000, -32000, -31840, -31972}, false, true, DockOutcome::Away},
      {"left exactly -10000", {-10000, 100, -9000, 700}, false, true, DockOutcome::Docked},
      {"left -10001", {-10001, 100, -9000, 700}, false, true, DockOutcome::Away},
      {"hidden", {100, 100, 900, 700}, false, false, DockOutcome::Away},
      {"hidden and maximised", {-8, -8, 1928, 1048}, true, false, DockOutcome::Away},
      {"an unreadable rectangle", {0, 0, 0, 0}, false, true, DockOutcome::Docked},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecideDocking(c.window, {c.visible, c.maximised}, [] { return monitor::ScreenSize{1920, 1080}; }),
              c.outcome)
        << c.what;
}

class DockingTest : public testing::Test {
 protected:
  void SetUp() override { scene.HandOverAt(0); }
  // What the panel is at `time`, read by a probe inside the run.
  void ProbeAt(std::uint64_t time) {
    scene.world.At(time, [this] { seen.push_back(scene.Panel()); });
  }
  CompanionScene scene;
  std::vector<fake::FakeWindow> seen;
};

TEST_F(DockingTest, ThePanelFollowsTheCompanionWindow) {
  ProbeAt(1000);
  scene.world.At(1500, [this] { scene.Window().rect = {300, 200, 1100, 600}; });
  ProbeAt(1510);
  scene.world.At(2000, [this] { scene.Window().zoomed = true; });
  ProbeAt(2010);
  scene.world.At(2500, [this] {
    scene.Window().zoomed = false;
    scene.Window().rect = {-32000, -32000, -31840, -31972};
  });
  ProbeAt(2510);
  scene.world.At(3000, [this] { scene.Window().rect = {100, 100, 900, 700}; });
  ProbeAt(3010);
  scene.world.At(3500, [this] { scene.Window().visible = false; });
  ProbeAt(3510);
  scene.world.At(4000, [this] { scene.world.desktop.Remove(scene.window); });
  ProbeAt(4500);
  RunProgram(scene.world, 5000);
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_TRUE(seen[0].visible && !seen[0].minimised);
  EXPECT_EQ(seen[0].rect, (platform::Rect{100, 700, 390, 810}));
  EXPECT_EQ(seen[1].rect, (platform::Rect{300, 600, 590, 710})) << "followed within one tick";
  EXPECT_FALSE(seen[2].visible) << "hidden while the companion is maximised";
  EXPECT_TRUE(seen[3].visible && seen[3].minimised) << "minimised with the companion";
  EXPECT_TRUE(seen[4].visible && !seen[4].minimised);
  EXPECT_EQ(seen[4].rect, (platform::Rect{100, 700, 390, 810})) << "docked again once restored";
  EXPECT_TRUE(seen[5].visible && seen[5].minimised) << "minimised while the companion is hidden";
  EXPECT_TRUE(seen[6].visible && seen[6].minimised) << "unchanged once the window has gone";
  for (const fake::FakeWindow& panel : seen)
    EXPECT_FALSE(panel.active) << "docking shows, restores and minimises the panel without activating it";
}

TEST_F(DockingTest, APanelBelowTheScreenIsNotPulledBack) {
  scene.Window().rect = {100, 900, 900, 1300};
  ProbeAt(1000);
  RunProgram(scene.world, 1100);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].rect.top, 1300);
}

TEST_F(DockingTest, APanelTheUserMinimisedIsRestoredBesideANormalCompanion) {
  scene.world.At(1000, [this] { scene.world.windows.MinimiseByUser(WindowId::Panel); });
  ProbeAt(1020);
  RunProgram(scene.world, 1100);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FALSE(seen[0].minimised);
}

class ForegroundTest : public testing::Test {
 protected:
  platform::WindowHandle AddWindow(std::uint32_t processId, std::string className, std::u16string title) {
    return desktop.Add({.processId = processId, .className = std::move(className), .title = std::move(title)});
  }
  bool Matches() {
    return monitor::ForegroundMatches(desktop, world.processes, "直播伴侣.exe", "Chrome_WidgetWin_1", "直播伴侣");
  }
  fake::World world;
  fake::FakeDesktop& desktop = world.desktop;
  std::uint32_t companion = world.processes.Start("直播伴侣.exe");
};

TEST_F(ForegroundTest, OnlyTheCompanionsOwnWindowMatches) {
  const std::uint32_t browser = world.processes.Start("chrome.exe");
  struct Case {
    const char* what;
    platform::WindowHandle window;
    bool matches;
  };
  const Case cases[] = {
      {"the companion window", AddWindow(companion, "Chrome_WidgetWin_1", u"直播伴侣"), true},
      {"more title around the name", AddWindow(companion, "Chrome_WidgetWin_1", u"抖音 - 直播伴侣 (1)"), true},
      {"another Chromium program", AddWindow(browser, "Chrome_WidgetWin_1", u"直播伴侣 - 搜索"), false},
      {"another class", AddWindow(companion, "Chrome_WidgetWin_0", u"直播伴侣"), false},
      {"class case differs", AddWindow(companion, "chrome_widgetwin_1", u"直播伴侣"), false},
      {"another title", AddWindow(companion, "Chrome_WidgetWin_1", u"设置"), false},
      {"no window in front", 0, false},
      {"a window that has gone", 0x7777, false},
  };
  for (const Case& c : cases) {
    desktop.foreground = c.window;
    EXPECT_EQ(Matches(), c.matches) << c.what;
  }
}

TEST_F(ForegroundTest, TheExecutableNameIsComparedExactly) {
  world.processes.End(companion);
  const std::uint32_t loud = world.processes.Start("直播伴侣.EXE");
  desktop.foreground = AddWindow(loud, "Chrome_WidgetWin_1", u"直播伴侣");
  EXPECT_FALSE(Matches());
}

TEST_F(ForegroundTest, TheWindowsProcessIsAskedAloneAndTheSnapshotAnswersForOneThatCannotBeOpened) {
  desktop.foreground = AddWindow(companion, "Chrome_WidgetWin_1", u"直播伴侣");
  EXPECT_TRUE(Matches());
  EXPECT_EQ(world.journal.Count("Snapshot"), 0u);
  world.processes.Find(companion)->openable = false;
  EXPECT_TRUE(Matches());
  EXPECT_THAT(world.journal.Matching("Snapshot"), ElementsAre("Snapshot 0x2"));
}

TEST_F(ForegroundTest, NoCriteriaMatchNothing) {
  desktop.foreground = AddWindow(companion, "Chrome_WidgetWin_1", u"直播伴侣");
  EXPECT_FALSE(monitor::ForegroundMatches(desktop, world.processes, "", "", ""));
}

TEST_F(ForegroundTest, LaterCriteriaAreQueriedOnlyWhenEarlierOnesPass) {
  desktop.recordQueries = true;
  desktop.foreground = AddWindow(world.processes.Start("game.exe"), "Chrome_WidgetWin_1", u"直播伴侣");
  EXPECT_FALSE(Matches());
  EXPECT_EQ(world.journal.Count("WindowClassName"), 0u);
  EXPECT_EQ(world.journal.Count("WindowTitle"), 0u);
}

TEST(ForegroundTick, ThePanelIsTopmostExactlyWhileTheCompanionIsInFront) {
  CompanionScene scene;
  scene.HandOverAt(0);
  std::vector<bool> topmost;
  const auto probe = [&](std::uint64_t time) { scene.world.At(time, [&] { topmost.push_back(scene.Panel().topmost); }); };
  scene.world.At(1000, [&] { scene.world.desktop.foreground = scene.window; });
  probe(1100);
  scene.world.At(2000, [&] { scene.world.desktop.foreground = 0; });
  probe(2100);
  RunProgram(scene.world, 3000);
  EXPECT_THAT(topmost, ElementsAre(true, false));
}

TEST(SteadyPanel, OnceDockedAndAboveTheCompanionNothingIsWrittenUntilSomethingChanges) {
  CompanionScene scene;
  scene.HandOverAt(0);
  scene.world.At(500, [&] { scene.world.desktop.foreground = scene.window; });
  scene.world.At(2000, [&] { scene.world.windows.CoverWithAnotherTopmostWindow(WindowId::Panel); });
  RunProgram(scene.world, 3000);
  std::vector<std::string> writes;
  for (const auto& entry : scene.world.journal.Entries())
    if (entry.time >= 1000 && (entry.what.starts_with("ShowWindow") || entry.what.starts_with("MoveWindow") ||
                               entry.what.starts_with("SetTopmost")))
      writes.push_back(entry.what);
  EXPECT_THAT(writes, ElementsAre("SetTopmost Panel 1")) << "raised once more, over the window that covered it";
}

TEST(CompanionGoneTick, TrimsEverythingOnceMoreThenEnds) {
  PanelScene scene;
  const std::uint32_t companion = scene.world.processes.Start("直播伴侣.exe");
  const std::uint32_t game = scene.world.processes.Start("game.exe");
  monitor::CompanionGoneTick(scene.context);
  EXPECT_EQ(scene.world.processes.Find(game)->trims, 0) << "nothing happens while the companion runs";
  scene.world.processes.End(companion);
  EXPECT_THROW(monitor::CompanionGoneTick(scene.context), fake::ProcessEnded);
  EXPECT_EQ(scene.world.processes.Find(game)->trims, 1);
}

}  // namespace
