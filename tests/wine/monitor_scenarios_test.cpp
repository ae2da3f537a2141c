// The real panel beside the stand-in companion under Wine: the refusal without the
// companion, docking, the foreground rule, the live status, and the end with the companion.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "monitor/live_status.h"
#include "monitor/presence.h"
#include "tests/wine/harness/harness.h"

namespace {

using namespace harness;
namespace panel = ui::panel;

class MonitorScenario : public testing::Test {
 protected:
  void SetUp() override { ResetScene(); }
  void TearDown() override { ResetScene(); }
  void StartBesideCompanion() {
    companion = StartCompanion();
    ASSERT_TRUE(FindCompanionWindow());
    run = StartToPanel();
    ASSERT_TRUE(run.panel);
  }
  bool PanelAt(LONG left, LONG top) {
    return WaitFor(
        [&] {
          const RECT rect = WindowRectOf(run.panel);
          return IsWindowVisible(run.panel) && !IsIconic(run.panel) && rect.left == left && rect.top == top;
        },
        3000);
  }
  bool StatusLineBecomes(std::string_view gbk) {
    return WaitFor([&] { return StatusLine(run.panel) == Wide(gbk); }, 3000);
  }

  std::vector<Process> companion;
  ProgramOnPanel run;
};

TEST_F(MonitorScenario, WithoutTheCompanionThePanelSaysSoAndTheProgramEnds) {
  WriteFileBytes(L"C:\\CHZS.txt", "");
  Process program = StartProgram();
  HWND start = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (start = FindStartWindow(program.Id())) && IsWindowVisible(start); }, 20000));
  ClickButton(FindControl(start, ui::start::按钮1));
  const auto box = WaitForMessageBox(program.Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, Wide(monitor::kCompanionMissingMessage));
  EXPECT_EQ(box->caption, Wide("信息："));
  HWND panelWindow = nullptr;
  for (HWND window : TopLevelWindowsOf(program.Id()))
    if (FindControl(window, panel::列表框1)) panelWindow = window;
  ASSERT_TRUE(panelWindow);
  EXPECT_FALSE(IsWindowVisible(panelWindow));
  EXPECT_EQ(Log(panelWindow), std::vector<std::wstring>{Wide(monitor::kStartedLogLine)});
  PressOk(*box);
  EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
}

TEST_F(MonitorScenario, ThePanelDocksUnderTheCompanionAndFollowsIt) {
  StartBesideCompanion();
  const RECT companionRect = WindowRectOf(FindCompanionWindow());
  ASSERT_EQ(companionRect.left, 100);
  ASSERT_EQ(companionRect.bottom, 700);
  EXPECT_TRUE(PanelAt(100, 700));
  RECT both{100, 100, 900, 810};
  SaveScreenshot(L"panel-docked", &both);

  ASSERT_TRUE(SendCompanionCommand("move 300 200 1100 600"));
  EXPECT_TRUE(PanelAt(300, 600)) << "followed the move";

  ASSERT_TRUE(SendCompanionCommand("maximise"));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(run.panel); }, 3000)) << "hidden while maximised";
  ASSERT_TRUE(SendCompanionCommand("restore"));
  EXPECT_TRUE(PanelAt(300, 600)) << "docked again once restored";

  ASSERT_TRUE(SendCompanionCommand("move 0 0 1910 1070"));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(run.panel); }, 3000)) << "hidden while covering the screen";
  ASSERT_TRUE(SendCompanionCommand("move 0 0 1909 1070"));
  EXPECT_TRUE(PanelAt(0, 1070));

  ASSERT_TRUE(SendCompanionCommand("minimise"));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(run.panel) && IsIconic(run.panel); }, 3000)) << "minimised along";
  ASSERT_TRUE(SendCompanionCommand("restore"));
  ASSERT_TRUE(SendCompanionCommand("move 100 100 900 700"));
  EXPECT_TRUE(PanelAt(100, 700));

  ASSERT_TRUE(SendCompanionCommand("hide"));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(run.panel) && IsIconic(run.panel); }, 3000)) << "minimised while hidden";
  ASSERT_TRUE(SendCompanionCommand("show"));
  EXPECT_TRUE(PanelAt(100, 700));
}

// The streamer restores the companion to go live: the keyboard stays with it, the panel
// follows without taking it.
TEST_F(MonitorScenario, DockingNeverTakesTheForegroundFromTheCompanion) {
  StartBesideCompanion();
  ASSERT_TRUE(PanelAt(100, 700));
  const auto companionInFront = [] { return GetForegroundWindow() == FindCompanionWindow(); };
  ASSERT_TRUE(SendCompanionCommand("front"));
  ASSERT_TRUE(WaitFor(companionInFront, 3000));
  const std::pair<const char*, std::function<bool()>> aways[] = {
      {"maximise", [&] { return !IsWindowVisible(run.panel); }},
      {"minimise", [&] { return IsWindowVisible(run.panel) && IsIconic(run.panel); }},
  };
  for (const auto& [away, panelAway] : aways) {
    SCOPED_TRACE(away);
    ASSERT_TRUE(SendCompanionCommand(away));
    ASSERT_TRUE(WaitFor(panelAway, 3000));
    ASSERT_TRUE(SendCompanionCommand("restore"));
    EXPECT_TRUE(PanelAt(100, 700));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // docking ticks on
    EXPECT_TRUE(companionInFront()) << "the foreground went to " << GetForegroundWindow();
    EXPECT_TRUE(PanelAt(100, 700));
  }
}

TEST_F(MonitorScenario, ThePanelIsTopmostWhileTheCompanionIsInFront) {
  StartBesideCompanion();
  const auto topmost = [&] { return (GetWindowLongW(run.panel, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(PanelAt(100, 700));
  ASSERT_TRUE(SendCompanionCommand("front"));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == FindCompanionWindow() && topmost(); }, 3000));  // ticks every 100 ms
  // Another program's window in front: this test's own.
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1000, 100, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  EXPECT_TRUE(WaitFor([&] { return !topmost(); }, 3000));
  DestroyWindow(other);
}

TEST_F(MonitorScenario, TheStatusLineFollowsTheRoomStateFile) {
  StartBesideCompanion();
  EXPECT_TRUE(StatusLineBecomes(monitor::kNotLiveText)) << "the stand-in starts with status 4";
  ASSERT_TRUE(SendCompanionCommand("live"));
  EXPECT_TRUE(StatusLineBecomes(monitor::kLiveText));
  ASSERT_TRUE(SendCompanionCommand("status 3"));
  ASSERT_TRUE(SendRoomStateBytes("{\"roomStore\":{\"status\":2,"));  // half written
  ASSERT_TRUE(SendCompanionCommand("remove"));
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_EQ(StatusLine(run.panel), Wide(monitor::kLiveText)) << "what cannot be read leaves the line";
  ASSERT_TRUE(SendCompanionCommand("stop"));
  EXPECT_TRUE(StatusLineBecomes(monitor::kNotLiveText));
}

TEST_F(MonitorScenario, TheProgramEndsWithTheCompanion) {
  StartBesideCompanion();
  ASSERT_TRUE(SendCompanionCommand("exit"));
  const auto exited = std::chrono::steady_clock::now();
  EXPECT_EQ(run.program.WaitForExit(5000), std::optional<DWORD>(0));
  EXPECT_LT(std::chrono::steady_clock::now() - exited, std::chrono::milliseconds(2500));
}

}  // namespace
