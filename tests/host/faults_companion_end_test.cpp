// The companion ending at every step of the optimization's start, inside every wait of the
// program, and what is left then: the program ends within a second, with exit code 0, its
// cleanup run once, no process handle open and no file touched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing_support::CompanionScene;
using testing_support::RunProgram;
namespace panel = ui::panel;

constexpr std::uint64_t kClickAt = 3000;  // the status line reads "检测到已开播" from 1300 on
constexpr const char* kSettings = "C:\\yxjc.ini";
constexpr const char* kSettingsContent = "[id]\r\nid2=game.exe\r\n";

// Where the companion ends: as the program makes the `occurrence`-th call journalled as
// `call` after the click, or `afterMs` later (inside the wait that follows the call).
struct EndPoint {
  const char* what;
  std::string call;
  int occurrence = 1;
  std::uint64_t afterMs = 0;
};

// The companion with its helpers, a stored game name, the hand-over at 0 and a live broadcast.
struct OptimizationScene {
  OptimizationScene() {
    scene.world.processes.processorCount = 4;
    ai = scene.world.processes.Start("mate-ai.exe");
    media = scene.world.processes.Start("MediaSDK_Server.exe");
    scene.world.files.Write(kSettings, kSettingsContent);
    scene.HandOverAt(0);
    scene.GoLiveAt(500);
  }
  // The user closes the companion: its processes and its window go.
  void EndCompanion() {
    endedAt = scene.world.Now();
    for (std::uint32_t id : {scene.companion, ai, media}) scene.world.processes.End(id);
    scene.world.desktop.Remove(scene.window);
  }
  void ClickStartAndEndAt(const EndPoint& end) {
    scene.world.At(kClickAt, [this, end] {
      scene.world.windows.Click(panel::图形按钮1);
      scene.world.journal.When(end.call, [this, end] {
        if (end.afterMs == 0) return EndCompanion();
        scene.world.At(scene.world.Now() + end.afterMs, [this] { EndCompanion(); });
      }, end.occurrence);
    });
  }

  CompanionScene scene;
  std::uint32_t ai = 0, media = 0;
  std::uint64_t endedAt = fake::kForever;
};

std::string Id(std::uint32_t id) { return std::to_string(id); }

TEST(CompanionEnd, AtEveryStepOfTheStartAndInsideEveryWaitTheProgramEndsCleanly) {
  const OptimizationScene ids;  // every scene gives its processes the same ids
  const std::string companion = Id(ids.scene.companion);
  const std::uint32_t media = ids.media, ai = ids.ai;
  const EndPoint points[] = {
      {"1: reads the stored name", "ReadIniString C:\\yxjc.ini"},
      {"2, 3: reads the status line, disables the button", "Disable Panel.图形按钮1"},
      {"4: clears the log", "ClearLines Panel.列表框1"},
      {"5: logs the start", "InsertLine Panel.列表框1 0 已开启自动优化"},
      {"6: says it is initialising", "SetText Panel.透明标签1 正在初始化"},
      {"7: arms the capture", "StartTimer Panel.定向进程 5000"},
      {"8: trims every process, at the companion's own trim", "EmptyWorkingSet " + companion, 1},
      {"9: inside the 500 ms wait", "EmptyWorkingSet " + companion, 1, 250},
      {"10: trims the companion by name", "EmptyWorkingSet " + companion, 2},
      {"11: inside the 300 ms wait", "EmptyWorkingSet " + companion, 2, 150},
      {"12: pins the companion, first pass", "SetAffinityMask " + companion, 1},
      {"12: inside the 10 ms wait after the companion", "SetAffinityMask " + companion, 1, 5},
      {"12: inside the 2000 ms pause after the first pass", "SetAffinityMask " + companion, 1, 1000},
      {"12: pins the companion, second pass", "SetAffinityMask " + companion, 2},
      {"12: inside the 2000 ms pause after the second pass", "SetAffinityMask " + companion, 2, 1000},
      // The second pause ends 2010 ms after the second pin; the 300 ms wait follows.
      {"13: inside the 300 ms wait", "SetAffinityMask " + companion, 2, 2160},
      {"14: pins the media server", "SetAffinityMask " + Id(media)},
      {"14: inside the 10 ms wait after it", "SetAffinityMask " + Id(media), 1, 5},
      {"15: inside the 300 ms wait", "SetAffinityMask " + Id(media), 1, 160},
      {"16: pins mate-ai", "SetAffinityMask " + Id(ai)},
      {"16: inside the 10 ms wait after it", "SetAffinityMask " + Id(ai), 1, 5},
      {"17: trims every process again", "EmptyWorkingSet " + companion, 3},
      {"18: starts the re-tuning", "StartTimer Panel.时钟4"},
      {"19: starts the companion check", "StartTimer Panel.时钟5"},
      {"20: says the optimization runs", "SetText Panel.透明标签1 已开启自动优化"},
      {"as the first re-tune is due", "StartTimer Panel.时钟4", 1, 60000},
      {"inside the re-tune's first 500 ms wait", "StartTimer Panel.时钟4", 1, 60250},
      {"inside the re-tune's second 500 ms wait", "StartTimer Panel.时钟4", 1, 60750},
  };
  for (const EndPoint& point : points) {
    SCOPED_TRACE(point.what);
    OptimizationScene fresh;
    fresh.ClickStartAndEndAt(point);
    const auto run = RunProgram(fresh.scene.world, kClickAt + 120000);
    const fake::World& world = fresh.scene.world;
    ASSERT_LT(fresh.endedAt, fake::kForever) << "the companion was not ended";
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_LE(run.endedAt - fresh.endedAt, 1000u) << "the live check ends it within a second";
    EXPECT_EQ(world.journal.Count("EndProcess"), 1u);
    EXPECT_EQ(world.session.cleanupRuns, 1);
    EXPECT_EQ(world.processes.OpenHandles(), 0);
    // A timer wait that the end interrupts leaves its timer to the system, which closes a
    // process's handles as it ends.
    EXPECT_LE(world.clock.OpenOneShotTimers(), 1);
    EXPECT_EQ(world.journal.Count("WriteIniString") + world.journal.Count("CreateEmptyFile"), 1u)
        << "only the hand-over's marker was written";
    EXPECT_EQ(fresh.scene.world.files.Find(kSettings)->content, kSettingsContent);
    EXPECT_TRUE(world.dialogs.shown.empty());
  }
}

TEST(CompanionEndDuringTheHandOver, ThePanelSaysTheCompanionIsMissingAndEnds) {
  CompanionScene scene;
  scene.HandOverAt(1000);
  scene.world.At(1150, [&] {
    scene.world.processes.End(scene.companion);
    scene.world.desktop.Remove(scene.window);
  });
  const auto run = RunProgram(scene.world, 60000);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(scene.world.dialogs.shown.size(), 1u);
  EXPECT_EQ(scene.world.dialogs.shown[0].text, "请先运行直播伴侣");
  EXPECT_EQ(scene.world.session.cleanupRuns, 1);
  EXPECT_EQ(scene.world.files.Find("C:\\CHZS.txt")->content, "") << "the marker written whole before the panel";
  EXPECT_EQ(scene.world.journal.Count("StartTimer Panel.时钟"), 0u);
}

}  // namespace
