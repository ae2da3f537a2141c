// The user closes a window of the real program at any moment, inside the handlers' waits
// too: the program ends at once with exit code 0, and nothing crashes.
#include <gtest/gtest.h>

#include "monitor/live_status.h"
#include "optimizer/optimization_run.h"
#include "tests/wine/harness/harness.h"

namespace {

using namespace harness;
namespace panel = ui::panel;
namespace start = ui::start;
using std::chrono::milliseconds;

class ClosingScenario : public testing::Test {
 protected:
  void SetUp() override { ResetScene(); }
  void TearDown() override { ResetScene(); }

  void StartLivePanel() {
    companion = StartCompanion();
    run = StartToPanel();
    ASSERT_TRUE(run.panel);
    ASSERT_TRUE(SendCompanionCommand("live"));
    ASSERT_TRUE(WaitFor([&] { return StatusLine(run.panel) == Wide(monitor::kLiveText); }, 3000));
  }
  void ClickStart() {
    HWND button = FindControl(run.panel, panel::图形按钮1);
    ClickWithMouse(button);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(button); }, 2000));
  }
  // WM_CLOSE, as Alt+F4 and the taskbar button's close send it.
  static void Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }
  void ExpectCleanEnd(const Process& program) {
    EXPECT_EQ(program.WaitForExit(5000), std::optional<DWORD>(0));
    EXPECT_FALSE(CrashReported());
    EXPECT_TRUE(FindCompanionWindow()) << "the companion runs on";
  }

  std::vector<Process> companion;
  ProgramOnPanel run;
};

TEST_F(ClosingScenario, ThePanelClosedWhileIdle) {
  StartLivePanel();
  Close(run.panel);
  ExpectCleanEnd(run.program);
}

TEST_F(ClosingScenario, ThePanelClosedDuringTheOptimizationsStart) {
  for (int afterMs : {1000, 3000}) {  // inside the first pauses, and inside the companion's pinning
    SCOPED_TRACE(afterMs);
    ResetScene();
    StartLivePanel();
    ClickStart();
    std::this_thread::sleep_for(milliseconds(afterMs));
    ASSERT_TRUE(IsWindow(run.panel)) << "the start is still running";
    Close(run.panel);
    ExpectCleanEnd(run.program);
  }
}

TEST_F(ClosingScenario, ThePanelClosedDuringARetune) {
  StartLivePanel();
  ClickStart();
  // The start ends with the status line's "已开启自动优化"; the re-tuning timer was started with
  // it and ticks a minute later, then waits 500 ms twice.
  ASSERT_TRUE(WaitFor([&] { return StatusLine(run.panel) == Wide(optimizer::kStartedLogLine); }, 10000));
  std::this_thread::sleep_for(milliseconds(60000 + 300));
  Close(run.panel);
  ExpectCleanEnd(run.program);
}

TEST_F(ClosingScenario, TheStartWindowClosedDuringTheHandOverWait) {
  companion = StartCompanion();
  WriteFileBytes(L"C:\\CHZS.txt", "");
  Process program = StartProgram();
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 20000));
  ClickButton(FindControl(window, start::按钮1));
  std::this_thread::sleep_for(milliseconds(100));
  Close(window);
  ExpectCleanEnd(program);
}

}  // namespace
