// Processes that refuse to be opened or changed (rights, protected processes): the whole
// optimization runs its course all the same, changes nothing of theirs and reports nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/host/companion_scene.h"
#include "tests/host/program_runner.h"

namespace {

using testing_support::CompanionScene;
using testing_support::RunProgram;
namespace panel = ui::panel;

constexpr std::uint64_t kClickAt = 3000;

struct Refusal {
  const char* what;
  bool openable;
  bool refusesChanges;
};

TEST(RefusingProcesses, TheStartAndTheCaptureGoOnAndChangeNothingOfThem) {
  for (const Refusal& refusal : {Refusal{"cannot be opened", false, false}, Refusal{"refuses every change", true, true}}) {
    SCOPED_TRACE(refusal.what);
    CompanionScene scene;
    scene.world.processes.processorCount = 4;
    scene.world.processes.Start("mate-ai.exe");
    scene.world.processes.Start("MediaSDK_Server.exe");
    scene.world.processes.Start("game.exe");
    for (auto& process : scene.world.processes.All()) {
      process.openable = refusal.openable;
      process.refusesChanges = refusal.refusesChanges;
    }
    scene.world.files.Write("C:\\yxjc.ini", "[id]\r\nid2=game.exe\r\n");
    scene.HandOverAt(0);
    scene.GoLiveAt(500);
    scene.world.At(kClickAt, [&] { scene.world.windows.Click(panel::图形按钮1); });
    const auto run = RunProgram(scene.world, kClickAt + 67000);

    EXPECT_FALSE(run.ended);
    for (const auto& process : scene.world.processes.All()) {
      EXPECT_EQ(process.trims, 0) << process.id;
      EXPECT_EQ(process.affinityMask, 0x3u) << process.id;
      EXPECT_EQ(process.priorityClass, 0x20u) << process.id;
    }
    // The steps keep their pauses, the capture is logged, the re-tune comes a minute later.
    const auto& journal = scene.world.journal.Entries();
    const auto started = std::find_if(journal.begin(), journal.end(),
                                      [](const auto& e) { return e.what == "SetText Panel.透明标签1 已开启自动优化"; });
    ASSERT_NE(started, journal.end());
    EXPECT_GE(started->time - kClickAt, 5400u);
    EXPECT_EQ(scene.world.windows.Control(panel::列表框1).lines,
              (std::vector<std::string>{"持续优化中...", "已开启自动优化", "游戏进程已捕获优化"}));
    EXPECT_EQ(scene.world.windows.Control(panel::透明标签2).text, "本次为伴侣释放内存 0 MB");
    EXPECT_TRUE(scene.world.dialogs.shown.empty());
    EXPECT_EQ(scene.world.processes.OpenHandles(), 0);
  }
}

}  // namespace
