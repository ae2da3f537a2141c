// The window and control model's rules, on the fake backend in virtual time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "platform/fake/world.h"
#include "ui/model.h"

namespace {

using testing::ElementsAre;
using ui::HandlerId;
using ui::WindowId;
namespace panel = ui::panel;
namespace start = ui::start;

class ModelTest : public testing::Test {
 protected:
  // Runs the message loop until `time`, or until the last window is gone, which ends the
  // process: then the time of that end.
  std::optional<std::uint64_t> RunUntil(std::uint64_t time) {
    world.clock.SetStopTime(time);
    try {
      world.clock.RunUntilQuit();
    } catch (const fake::SimulationEnd&) {
    } catch (const fake::ProcessEnded& end) {
      EXPECT_EQ(end.code, 0);
      return world.Now();
    }
    return std::nullopt;
  }
  std::vector<std::uint64_t> TimesOf(HandlerId handler) const {
    std::vector<std::uint64_t> times;
    for (const auto& [time, id] : calls)
      if (id == handler) times.push_back(time);
    return times;
  }

  fake::World world;
  std::vector<std::pair<std::uint64_t, HandlerId>> calls;
  std::function<void(HandlerId)> onHandler;
  ui::Model model{world.windows, world.desktop, world.session, [this](HandlerId handler) {
                    calls.emplace_back(world.Now(), handler);
                    if (onHandler) onHandler(handler);
                  }};
};

TEST_F(ModelTest, ControlNamesMatchTheirDesigns) {
  const std::pair<ui::ControlId, const char*> names[] = {
      {start::分组框2, "分组框2"},     {start::按钮1, "按钮1"},         {start::透明标签2, "透明标签2"},
      {start::编辑框2, "编辑框2"},     {start::分组框1, "分组框1"},     {start::透明标签3, "透明标签3"},
      {start::编辑框3, "编辑框3"},     {start::按钮2, "按钮2"},         {start::透明标签4, "透明标签4"},
      {start::透明标签5, "透明标签5"}, {panel::透明标签1, "透明标签1"}, {panel::图形按钮1, "图形按钮1"},
      {panel::列表框1, "列表框1"},     {panel::透明标签2, "透明标签2"}, {panel::时钟2, "时钟2"},
      {panel::检测伴侣窗口, "检测伴侣窗口"}, {panel::时钟3, "时钟3"}, {panel::时钟4, "时钟4"},
      {panel::时钟5, "时钟5"},         {panel::定向进程, "定向进程"},
  };
  for (const auto& [id, name] : names) EXPECT_EQ(ui::DesignOf(id).name, name);
  EXPECT_EQ(ui::DesignOf(WindowId::Start).controls.size(), 10u);
  EXPECT_EQ(ui::DesignOf(WindowId::Panel).controls.size(), 10u);
}

TEST_F(ModelTest, LoadCentresTheWindowAndRunsTheCreatedHandlerBeforeShowingIt) {
  bool visibleDuringCreatedHandler = true;
  onHandler = [&](HandlerId handler) {
    if (handler == HandlerId::PrepareStartWindow) visibleDuringCreatedHandler = world.windows.Window(WindowId::Start).visible;
  };
  model.Load(WindowId::Start);
  EXPECT_FALSE(visibleDuringCreatedHandler);
  const fake::FakeWindow& window = world.windows.Window(WindowId::Start);
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.rect, (platform::Rect{641, 378, 641 + 637, 378 + 323}));  // (1920-637)/2, (1080-323)/2
  EXPECT_TRUE(world.windows.Control(start::编辑框3).visible);
  EXPECT_FALSE(world.windows.Control(start::编辑框2).enabled);
  EXPECT_EQ(model.Text(start::编辑框3), "请输入进程名称..");
}

TEST_F(ModelTest, AWindowHiddenByItsCreatedHandlerIsNeverShown) {
  onHandler = [&](HandlerId handler) {
    if (handler == HandlerId::PanelCreated) model.SetVisible(WindowId::Panel, false);
  };
  model.Load(WindowId::Panel);
  EXPECT_EQ(world.windows.Window(WindowId::Panel).timesShown, 0);
  model.SetShowState(WindowId::Panel, ui::ShowState::Minimised);
  model.SetShowState(WindowId::Panel, ui::ShowState::Normal);
  EXPECT_FALSE(world.windows.Window(WindowId::Panel).visible);
  EXPECT_EQ(world.journal.Count("ShowWindow Panel MinimiseNoActivate"), 0u);
}

TEST_F(ModelTest, OnlyTheForegroundTimerTicksFromThePanelsCreation) {
  model.Load(WindowId::Panel);
  RunUntil(350);
  EXPECT_THAT(TimesOf(HandlerId::ForegroundTick), ElementsAre(100, 200, 300));
  for (HandlerId other : {HandlerId::DockTick, HandlerId::LiveStatusTick, HandlerId::RetuneTick,
                          HandlerId::CompanionGoneTick, HandlerId::CaptureGameProcess})
    EXPECT_TRUE(TimesOf(other).empty());
}

TEST_F(ModelTest, TimerIntervalWrites) {
  model.Load(WindowId::Panel);
  // The interval it has changes nothing; 0 then the same interval restarts the count.
  world.At(150, [&] { model.SetInterval(panel::检测伴侣窗口, 100); });
  world.At(250, [&] {
    model.SetInterval(panel::检测伴侣窗口, 0);
    model.SetInterval(panel::检测伴侣窗口, 100);
  });
  // A negative interval stops the timer like 0; giving a stopped timer 0 calls nothing.
  world.At(500, [&] { model.SetInterval(panel::检测伴侣窗口, -5); });
  world.At(600, [&] { model.SetInterval(panel::时钟4, 0); });
  RunUntil(1000);
  EXPECT_THAT(TimesOf(HandlerId::ForegroundTick), ElementsAre(100, 200, 350, 450));
  EXPECT_EQ(model.Interval(panel::检测伴侣窗口), 0);
  EXPECT_EQ(world.journal.Count("StartTimer Panel.时钟4"), 0u);
  EXPECT_EQ(world.journal.Count("StopTimer Panel.时钟4"), 0u);
}

TEST_F(ModelTest, MovesAreClampedToTheCoordinateRange) {
  model.Load(WindowId::Panel);
  model.SetLeft(WindowId::Panel, -40000);
  model.SetTop(WindowId::Panel, 40000);
  EXPECT_EQ(world.windows.Window(WindowId::Panel).rect, (platform::Rect{-32627, 32627, -32627 + 290, 32627 + 110}));
  model.SetLeft(WindowId::Panel, 100);
  EXPECT_EQ(world.windows.Window(WindowId::Panel).rect.left, 100);
  EXPECT_EQ(world.windows.Window(WindowId::Panel).rect.top, 32627);
}

TEST_F(ModelTest, ListLinesInsertedAtTheTopAppendedAtTheEnd) {
  model.Load(WindowId::Panel);
  model.AppendLine(panel::列表框1, "a");
  model.InsertLine(panel::列表框1, 0, "b");
  model.InsertLine(panel::列表框1, -1, "never");
  model.InsertLine(panel::列表框1, 5, "never");
  model.AppendLine(panel::列表框1, "c");
  EXPECT_THAT(model.Lines(panel::列表框1), ElementsAre("b", "a", "c"));
  EXPECT_THAT(world.windows.Control(panel::列表框1).lines, ElementsAre("b", "a", "c"));
  model.ClearLines(panel::列表框1);
  EXPECT_TRUE(world.windows.Control(panel::列表框1).lines.empty());
}

// A write the window already has is left out; what the window really is decides, so a write
// that would change it is still made.
TEST(ModelWrites, AreMadeOnlyWhereTheyChangeTheWindow) {
  // The panel shown, normal, at (100, 700).
  struct Panel {
    Panel() {
      model.Load(WindowId::Panel);
      model.SetVisible(WindowId::Panel, true);
      MoveTo(100, 700);
    }
    void MoveTo(std::int32_t left, std::int32_t top) {
      model.SetLeft(WindowId::Panel, left);
      model.SetTop(WindowId::Panel, top);
    }
    fake::World world;
    fake::FakeWindows& screen = world.windows;
    ui::Model model{world.windows, world.desktop, world.session, [](HandlerId) {}};
  };
  using Step = std::function<void(Panel&)>;
  struct Case {
    const char* what;
    Step before;
    Step write;
    const char* call;  // the one backend call the write makes; null: none
  };
  const Step nothing = [](Panel&) {};
  const Step minimisedByUser = [](Panel& p) { p.screen.MinimiseByUser(WindowId::Panel); };
  const Step topmost = [](Panel& p) { p.model.SetTopmost(WindowId::Panel, true); };
  const auto show = [](bool visible) { return [visible](Panel& p) { p.model.SetVisible(WindowId::Panel, visible); }; };
  const auto state = [](ui::ShowState s) { return [s](Panel& p) { p.model.SetShowState(WindowId::Panel, s); }; };
  const Case cases[] = {
      {"showing a shown window", nothing, show(true), nullptr},
      {"hiding a hidden window", show(false), show(false), nullptr},
      {"hiding a shown window", nothing, show(false), "ShowWindow Panel Hide"},
      {"restoring a normal window", nothing, state(ui::ShowState::Normal), nullptr},
      {"restoring a window the user minimised", minimisedByUser, state(ui::ShowState::Normal),
       "ShowWindow Panel RestoreNoActivate"},
      {"minimising a minimised window", state(ui::ShowState::Minimised), state(ui::ShowState::Minimised), nullptr},
      {"moving to where the window lies", nothing, [](Panel& p) { p.MoveTo(100, 700); }, nullptr},
      {"moving the top only", nothing, [](Panel& p) { p.MoveTo(100, 701); }, "MoveWindow Panel 100 701"},
      {"moving a minimised window to where it is restored", minimisedByUser,
       [](Panel& p) { p.model.SetLeft(WindowId::Panel, 100); }, nullptr},
      {"moving a minimised window elsewhere", minimisedByUser, [](Panel& p) { p.model.SetLeft(WindowId::Panel, 120); },
       "MoveWindow Panel 120 700"},
      {"clearing always-on-top of a window without it", nothing,
       [](Panel& p) { p.model.SetTopmost(WindowId::Panel, false); }, nullptr},
      {"always-on-top of a window with it and nothing above", topmost, topmost, nullptr},
      {"always-on-top of a window another topmost window covers",
       [&](Panel& p) {
         topmost(p);
         p.screen.CoverWithAnotherTopmostWindow(WindowId::Panel);
       },
       topmost, "SetTopmost Panel 1"},
  };
  for (const Case& c : cases) {
    Panel panel;
    c.before(panel);
    panel.world.journal.Clear();
    c.write(panel);
    const auto& calls = panel.world.journal.Entries();
    if (c.call) {
      ASSERT_EQ(calls.size(), 1u) << c.what;
      EXPECT_EQ(calls[0].what, c.call) << c.what;
    } else {
      EXPECT_TRUE(calls.empty()) << c.what << ": " << calls.front().what;
    }
  }
}

TEST_F(ModelTest, AnEditBoxReadsWhatTheUserTyped) {
  model.Load(WindowId::Start);
  world.windows.Type(start::编辑框3, "game");
  EXPECT_EQ(model.Text(start::编辑框3), "game");
}

TEST_F(ModelTest, DestructionWaitsUntilTheRunningHandlerReturns) {
  model.Load(WindowId::Start);
  bool existedAfterDestroy = false;
  onHandler = [&](HandlerId handler) {
    if (handler != HandlerId::HandOverToPanel) return;
    model.Destroy(WindowId::Start);
    existedAfterDestroy = model.IsLoaded(WindowId::Start) && world.windows.Window(WindowId::Start).exists;
  };
  world.At(10, [&] { world.windows.Click(start::按钮1); });
  EXPECT_EQ(RunUntil(60000), 10u) << "the last window's destruction ends the program";
  EXPECT_TRUE(existedAfterDestroy);
  EXPECT_FALSE(model.IsLoaded(WindowId::Start));
}

// A handler that comes back from a wait may find its window gone: what it does to that
// window then does nothing, and what it reads is empty.
TEST_F(ModelTest, AWindowThatIsGoneTakesNoWritesAndReadsEmpty) {
  model.Load(WindowId::Start);
  model.Load(WindowId::Panel);
  model.SetText(start::透明标签5, "kept");
  model.SetInterval(panel::时钟2, 10);
  model.AppendLine(panel::列表框1, "line");
  world.windows.Close(WindowId::Panel);
  world.journal.Clear();
  model.SetText(panel::透明标签1, "text");
  model.Disable(panel::图形按钮1);
  model.SetInterval(panel::时钟4, 60000);
  model.AppendLine(panel::列表框1, "line");
  model.InsertLine(panel::列表框1, 0, "line");
  model.ClearLines(panel::列表框1);
  model.SetVisible(WindowId::Panel, true);
  model.SetShowState(WindowId::Panel, ui::ShowState::Minimised);
  model.SetTopmost(WindowId::Panel, true);
  model.SetLeft(WindowId::Panel, 5);
  model.SetTop(WindowId::Panel, 5);
  model.Destroy(WindowId::Panel);
  EXPECT_TRUE(world.journal.Entries().empty()) << world.journal.Entries().front().what;
  EXPECT_EQ(model.Text(panel::透明标签1), "");
  EXPECT_TRUE(model.Lines(panel::列表框1).empty());
  EXPECT_EQ(model.Interval(panel::时钟2), 0);
  EXPECT_FALSE(model.IsEnabled(panel::图形按钮1));
  EXPECT_EQ(model.Text(start::透明标签5), "kept") << "the other window keeps its state";
  EXPECT_THROW(world.windows.Close(WindowId::Start), fake::ProcessEnded) << "the last window gone ends the program";
}

}  // namespace
