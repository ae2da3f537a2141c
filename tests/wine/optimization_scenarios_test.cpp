// The real optimization under Wine beside the stand-in companion and a stand-in game.
#include <gtest/gtest.h>

#include "monitor/live_status.h"
#include "optimizer/game_target.h"
#include "optimizer/optimization_run.h"
#include "tests/wine/harness/harness.h"

namespace {

using namespace harness;
namespace panel = ui::panel;
namespace start = ui::start;

class OptimizationScenario : public testing::Test {
 protected:
  void SetUp() override { ResetScene(); }
  void TearDown() override { ResetScene(); }
  HWND StartButton() const { return FindControl(run.panel, panel::图形按钮1); }

  std::vector<Process> companion;
  ProgramOnPanel run;
};

TEST_F(OptimizationScenario, AClickBeforeTheBroadcastIsLiveIsRefused) {
  companion = StartCompanion();
  run = StartToPanel();
  ASSERT_TRUE(run.panel);
  ClickWithMouse(StartButton());
  const auto box = WaitForMessageBox(run.program.Id(), 5000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, Wide(optimizer::kNotLiveMessage));
  EXPECT_EQ(box->caption, Wide(optimizer::kNotLiveCaption));
  PressOk(*box);
  EXPECT_TRUE(IsWindowEnabled(StartButton()));
}

TEST_F(OptimizationScenario, TheTypicalRun) {
  companion = StartCompanion();
  run = StartToPanel("standin-game.exe");
  ASSERT_TRUE(run.panel);
  ASSERT_TRUE(SendCompanionCommand("live"));
  ASSERT_TRUE(WaitFor([&] { return StatusLine(run.panel) == Wide(monitor::kLiveText); }, 3000));
  ClickWithMouse(StartButton());
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(StartButton()); }, 2000));
  ASSERT_TRUE(WaitFor([&] { return !Log(run.panel).empty(); }, 2000));
  EXPECT_EQ(Log(run.panel).front(), Wide(optimizer::kStartedLogLine));

  Process game = StartStandIn(L"standin-game.exe");
  Process secondGame = StartStandIn(L"STANDIN-GAME.exe");
  const auto captured = [&] {
    const auto log = Log(run.panel);
    return !log.empty() && log.back() == Wide(optimizer::kCapturedLogLine);
  };
  EXPECT_TRUE(WaitFor(captured, 7000)) << "captured within 5 s of the game's start";
  for (const Process* process : {&game, &secondGame}) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process->Id());
    EXPECT_EQ(GetPriorityClass(handle), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    CloseHandle(handle);
  }
  RECT rect = WindowRectOf(run.panel);
  SaveScreenshot(L"panel-running", &rect);

  EXPECT_TRUE(WaitFor([&] { return Log(run.panel).front() == Wide(optimizer::kRetunedLogLine); }, 75000))
      << "re-tuned after a minute";
  EXPECT_EQ(Log(run.panel).back(), Wide(optimizer::kCapturedLogLine));
}

TEST_F(OptimizationScenario, SavingThePlaceholderOrNothingCancelsTheTarget) {
  for (const wchar_t* typed : {static_cast<const wchar_t*>(nullptr), L""}) {
    SCOPED_TRACE(typed ? "an empty field" : "the placeholder");
    ResetScene();
    WriteFileBytes(L"C:\\CHZS.txt", "");
    WriteFileBytes(L"C:\\yxjc.ini", "[id]\r\nid2=old.exe\r\n");
    Process program = StartProgram();
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 20000));
    HWND field = FindControl(window, start::编辑框3);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed ? typed : Wide("请输入进程名称..").c_str()));
    ClickButton(FindControl(window, start::按钮2));
    const auto box = WaitForMessageBox(program.Id(), 5000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, Wide(optimizer::kSaveCancelledMessage));
    PressOk(*box);
    EXPECT_TRUE(WaitFor([&] { return TextOf(field) == Wide("请输入进程名称.."); }, 2000));
    const auto settings = ReadFileBytes(L"C:\\yxjc.ini");
    ASSERT_TRUE(settings);
    EXPECT_NE(settings->find("id2=\r\n"), std::string::npos) << *settings;
  }
}

TEST_F(OptimizationScenario, SavingANameStoresItOnce) {
  WriteFileBytes(L"C:\\CHZS.txt", "");
  Process program = StartProgram();
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 20000));
  HWND field = FindControl(window, start::编辑框3);
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide("游戏.exe").c_str()));
  ClickButton(FindControl(window, start::按钮2));
  const auto box = WaitForMessageBox(program.Id(), 5000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, Wide("游戏进程：游戏.exe  保存成功！请确认输入准确，否则当前功能无效！\r\n"
                            "如果输入空白，则表示无需对游戏进程定向优化！"));
  PressOk(*box);
  const auto settings = ReadFileBytes(L"C:\\yxjc.ini");
  ASSERT_TRUE(settings);
  EXPECT_NE(settings->find("id2=游戏.exe\r\n"), std::string::npos) << "one suffix";
}

TEST_F(OptimizationScenario, TheProgramEndsWhenTheCompanionEndsAfterTheStart) {
  companion = StartCompanion();
  run = StartToPanel();
  ASSERT_TRUE(run.panel);
  ASSERT_TRUE(SendCompanionCommand("live"));
  ASSERT_TRUE(WaitFor([&] { return StatusLine(run.panel) == Wide(monitor::kLiveText); }, 3000));
  ClickWithMouse(StartButton());
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(StartButton()); }, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(7000));
  ASSERT_TRUE(SendCompanionCommand("exit"));
  EXPECT_EQ(run.program.WaitForExit(5000), std::optional<DWORD>(0));
}

}  // namespace
