// The optimization the user starts on the panel, and its re-tuning, run whole in virtual time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing::ElementsAre;
using testing_support::CompanionScene;
using testing_support::RunProgram;
namespace panel = ui::panel;

constexpr std::uint64_t kClickAt = 3000;  // the panel shows "检测到已开播" from about 1300 on

class OptimizationRunTest : public testing::Test {
 protected:
  void SetUp() override {
    scene.world.processes.processorCount = 4;
    ai = scene.world.processes.Start("mate-ai.exe");
    media = scene.world.processes.Start("MediaSDK_Server.exe");
    scene.HandOverAt(0);
    scene.GoLiveAt(500);
  }
  void ClickStartAt(std::uint64_t time) {
    scene.world.At(time, [this] { scene.world.windows.Click(panel::图形按钮1); });
  }
  std::uint64_t TimeOf(std::string_view what, std::uint64_t from = 0) const {
    for (const auto& entry : scene.world.journal.Entries())
      if (entry.time >= from && entry.what.starts_with(what)) return entry.time;
    return fake::kForever;
  }
  std::vector<std::string> Log() const { return scene.world.windows.Control(panel::列表框1).lines; }

  CompanionScene scene;
  std::uint32_t ai = 0, media = 0;
};

TEST_F(OptimizationRunTest, TheStartRunsItsStepsWithTheirPausesAndArmsTheCapture) {
  scene.world.files.Write("C:\\yxjc.ini", "[id]\r\nid2=game.exe\r\n");
  const std::uint32_t game = scene.world.processes.Start("game.exe");
  ClickStartAt(kClickAt);
  std::vector<std::string> logAtCapture;
  scene.world.At(kClickAt + 5001, [&] { logAtCapture = Log(); });
  RunProgram(scene.world, kClickAt + 20000);

  const std::uint64_t started = TimeOf("Disable Panel.图形按钮1");
  EXPECT_EQ(started, kClickAt);
  EXPECT_EQ(TimeOf("StartTimer Panel.定向进程 5000"), kClickAt) << "armed before the first trim";
  const std::uint64_t finished = TimeOf("SetText Panel.透明标签1 已开启自动优化");
  EXPECT_GE(finished - started, 5400u);
  EXPECT_EQ(TimeOf("StartTimer Panel.时钟4 60000"), finished);
  EXPECT_EQ(TimeOf("StartTimer Panel.时钟5 5000"), finished);
  // The capture's first tick came 5 s after step 7, inside the start's waits.
  EXPECT_LT(kClickAt + 5000, finished);
  EXPECT_THAT(logAtCapture, ElementsAre("已开启自动优化", "游戏进程已捕获优化"));
  EXPECT_EQ(scene.world.processes.Find(game)->priorityClass, 0x80u);
  for (std::uint32_t id : {scene.companion, ai, media}) {
    EXPECT_EQ(scene.world.processes.Find(id)->affinityMask, 0xEu);
    EXPECT_GE(scene.world.processes.Find(id)->trims, 2);
  }
  // Pinned in the order of the steps: the companion twice, then its media server, then mate-ai.
  const auto pins = scene.world.journal.Matching("SetAffinityMask");
  const std::string companion = std::to_string(scene.companion);
  EXPECT_THAT(pins, ElementsAre("SetAffinityMask " + companion + " 0xE", "SetAffinityMask " + companion + " 0xE",
                                "SetAffinityMask " + std::to_string(media) + " 0xE",
                                "SetAffinityMask " + std::to_string(ai) + " 0xE"));
  EXPECT_EQ(scene.world.windows.Control(panel::透明标签2).text, "本次为伴侣释放内存 147 MB");
}

TEST_F(OptimizationRunTest, WithoutAStoredNameTheCaptureStaysOff) {
  ClickStartAt(kClickAt);
  RunProgram(scene.world, kClickAt + 20000);
  EXPECT_EQ(scene.world.journal.Count("StartTimer Panel.定向进程"), 0u);
  EXPECT_THAT(Log(), ElementsAre("已开启自动优化"));
}

TEST_F(OptimizationRunTest, AClickBeforeTheBroadcastIsLiveIsRefused) {
  scene.world.At(600, [this] { scene.WriteRoomState(u8R"({"roomStore":{"status":4}})"); });
  ClickStartAt(2000);
  scene.GoLiveAt(4000);
  ClickStartAt(6000);
  RunProgram(scene.world, 20000);
  ASSERT_EQ(scene.world.dialogs.shown.size(), 1u);
  EXPECT_EQ(scene.world.dialogs.shown[0].text, "请先开启直播");
  EXPECT_EQ(scene.world.dialogs.shown[0].caption, "助手提示：");
  EXPECT_EQ(scene.world.dialogs.shown[0].time, 2000u);
  EXPECT_EQ(TimeOf("Disable Panel.图形按钮1"), 6000u) << "the later click, once live, starts";
}

TEST_F(OptimizationRunTest, ASecondClickDoesNothing) {
  ClickStartAt(kClickAt);
  ClickStartAt(kClickAt + 1000);
  ClickStartAt(kClickAt + 9000);
  RunProgram(scene.world, kClickAt + 20000);
  EXPECT_EQ(scene.world.journal.Count("Disable Panel.图形按钮1"), 1u);
  EXPECT_EQ(scene.world.journal.Count("ClearLines"), 1u);
}

TEST_F(OptimizationRunTest, EveryMinuteTheCompanionIsTrimmedAgainAndTheLogSaysSo) {
  ClickStartAt(kClickAt);
  RunProgram(scene.world, kClickAt + 130000);
  EXPECT_THAT(Log(), ElementsAre("持续优化中...", "持续优化中...", "已开启自动优化"));
  const std::uint64_t retune = TimeOf("StartTimer Panel.时钟4") + 60000;
  // By exact name, companion first, then the media server, then mate-ai, 500 ms apart.
  EXPECT_EQ(TimeOf("Snapshot 0x2", retune), retune);
  EXPECT_EQ(TimeOf("EmptyWorkingSet " + std::to_string(scene.companion), retune), retune);
  EXPECT_EQ(TimeOf("EmptyWorkingSet " + std::to_string(media), retune), retune + 501);
  EXPECT_EQ(TimeOf("EmptyWorkingSet " + std::to_string(ai), retune), retune + 1002);
  EXPECT_EQ(TimeOf("InsertLine Panel.列表框1 0 持续优化中...", retune), retune + 1002);
}

TEST_F(OptimizationRunTest, TheCompanionEndingDuringTheStartEndsTheProgram) {
  ClickStartAt(kClickAt);
  scene.world.At(kClickAt + 2500, [this] { scene.world.processes.End(scene.companion); });
  const auto run = RunProgram(scene.world, kClickAt + 60000);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_LE(run.endedAt, kClickAt + 3500);
  EXPECT_EQ(scene.world.session.cleanupRuns, 1);
  EXPECT_EQ(scene.world.processes.OpenHandles(), 0);
}

TEST_F(OptimizationRunTest, AfterTheStartTheCompanionsEndIsNoticedByEitherCheck) {
  ClickStartAt(kClickAt);
  scene.world.At(kClickAt + 30000, [this] { scene.world.processes.End(scene.companion); });
  const auto run = RunProgram(scene.world, kClickAt + 90000);
  EXPECT_TRUE(run.ended);
  EXPECT_LE(run.endedAt, kClickAt + 31000);
}

}  // namespace
