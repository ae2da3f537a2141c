// A day of virtual time with the optimization running beside the companion: nothing grows but
// the log, by its one line a minute, and every process handle and timer wait is given back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "monitor/live_status.h"
#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing_support::CompanionScene;
using testing_support::RunProgram;
namespace panel = ui::panel;

constexpr std::uint64_t kMinute = 60000;
constexpr std::uint64_t kHour = 60 * kMinute;
constexpr std::uint64_t kDay = 24 * kHour;

struct Sample {
  std::size_t heapBytes = 0;  // in use on the heap
  std::size_t logLines = 0;
  int openProcesses = 0;
  int openTimerWaits = 0;
};

class LongRunTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::World& world = scene.world;
    world.processes.processorCount = 4;
    for (int i = 0; i < 140; ++i) world.processes.Start(i % 2 ? "svchost.exe" : "chrome.exe");
    world.processes.Start("mate-ai.exe");
    world.processes.Start("MediaSDK_Server.exe");
    world.processes.Start("game.exe");
    world.files.Write("C:\\yxjc.ini", "[id]\r\nid2=game.exe\r\n");
    world.desktop.foreground = scene.window;
    scene.HandOverAt(0);
    scene.GoLiveAt(500);
    world.At(3000, [&world] { world.windows.Click(panel::图形按钮1); });
    // The fake's journal keeps every call the program makes: emptied every minute, so that
    // only the program's own memory is measured.
    for (std::uint64_t time = kMinute; time < kDay; time += kMinute) world.At(time, [&world] { world.journal.Clear(); });
  }
  // Half a minute away from the re-tunes (which start about 8.4 s into the run), so that no
  // handler is inside a wait.
  void SampleAt(std::uint64_t time) {
    scene.world.At(time + 30000, [this] {
      scene.world.journal.Clear();
      samples.push_back({mallinfo2().uordblks, scene.world.windows.Control(panel::列表框1).lines.size(),
                         scene.world.processes.OpenHandles(), scene.world.clock.OpenOneShotTimers()});
    });
  }

  CompanionScene scene;
  std::vector<Sample> samples;
};

TEST_F(LongRunTest, ADayOfOptimizingGrowsOnlyTheLog) {
  for (std::uint64_t hour = 1; hour < 24; ++hour) SampleAt(hour * kHour);
  const auto run = RunProgram(scene.world, kDay);
  ASSERT_FALSE(run.ended) << "ended at " << run.endedAt;
  ASSERT_EQ(samples.size(), 23u);

  for (const Sample& sample : samples) {
    EXPECT_EQ(sample.openProcesses, 0);
    EXPECT_EQ(sample.openTimerWaits, 0);
  }
  const Sample& first = samples.front();
  const Sample& last = samples.back();
  EXPECT_EQ(last.logLines - first.logLines, 22u * 60u) << "one line a minute";
  // Each line is kept twice (the model and the list box) in a vector that may hold up to
  // twice its lines: anything more is growth.
  const std::size_t allowance = (last.logLines - first.logLines) * 4 * sizeof(std::string) + (64u << 10);
  EXPECT_LE(last.heapBytes, first.heapBytes + allowance)
      << "heap in use: " << first.heapBytes << " bytes after an hour, " << last.heapBytes << " after a day";

  const fake::FakeWindow& panelWindow = scene.Panel();
  EXPECT_TRUE(panelWindow.visible && !panelWindow.minimised && panelWindow.topmost);
  EXPECT_EQ(panelWindow.rect, (platform::Rect{100, 700, 390, 810}));
  EXPECT_EQ(scene.world.windows.Control(panel::透明标签1).text, monitor::kLiveText);
  const auto& log = scene.world.windows.Control(panel::列表框1).lines;
  EXPECT_EQ(log.front(), "持续优化中...");
  EXPECT_EQ(log.back(), "游戏进程已捕获优化");
}

}  // namespace
