// Faults the real program meets under Wine: the companion ending during the optimization's
// start, the room-state file locked or replaced, a settings file that is a folder, corrupt,
// huge or holds a value longer than the read buffer, writes the system refuses, and game
// names in Chinese, beyond GBK and over 10,000 bytes.
#include <gtest/gtest.h>

#include "monitor/live_status.h"
#include "optimizer/game_target.h"
#include "optimizer/optimization_run.h"
#include "tests/wine/harness/harness.h"

namespace {

using namespace harness;
namespace panel = ui::panel;
namespace start = ui::start;
using std::chrono::milliseconds;

constexpr const wchar_t* kSettings = L"C:\\yxjc.ini";

// A window's whole text (the harness's TextOf reads at most 4095 characters).
std::wstring WholeTextOf(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(length + 1, L'\0');
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  text.resize(length);
  return text;
}

// A message box's message: the longest text among its controls.
std::wstring WholeMessageOf(HWND box) {
  std::wstring longest;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::wstring text = WholeTextOf(child);
    if (text.size() > longest.size()) longest = std::move(text);
  }
  return longest;
}

// The stored name as the profile read gives it with a buffer large enough for any name.
std::string StoredName() {
  std::string value(1u << 16, '\0');
  value.resize(GetPrivateProfileStringA("id", "id2", "", value.data(), static_cast<DWORD>(value.size()), "C:\\yxjc.ini"));
  return value;
}

class FaultScenario : public testing::Test {
 protected:
  void SetUp() override { ResetScene(); }
  void TearDown() override { ResetScene(); }

  // The program started with the notice seen, at its start window.
  HWND StartToStartWindow() {
    WriteFileBytes(L"C:\\CHZS.txt", "");
    program = StartProgram();
    HWND window = nullptr;
    WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 20000);
    return window;
  }
  // The panel beside the companion, live.
  void StartLivePanel(const std::string& savedGame = "") {
    companion = StartCompanion();
    run = StartToPanel(savedGame);
    ASSERT_TRUE(run.panel);
    ASSERT_TRUE(SendCompanionCommand("live"));
    ASSERT_TRUE(StatusLineBecomes(monitor::kLiveText));
  }
  void ClickStart() {
    HWND button = FindControl(run.panel, panel::图形按钮1);
    ClickWithMouse(button);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(button); }, 2000));
  }
  bool StatusLineBecomes(std::string_view gbk) {
    return WaitFor([&] { return StatusLine(run.panel) == Wide(gbk); }, 3000);
  }
  // Types into the start window's field as the user would and saves: the box's text.
  std::wstring TypeAndSave(HWND window, const std::wstring& typed) {
    SendMessageW(FindControl(window, start::编辑框3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    ClickButton(FindControl(window, start::按钮2));
    const auto box = WaitForMessageBox(program.Id(), 5000);
    if (!box) return L"(no box)";
    const std::wstring text = WholeMessageOf(box->window);
    PressOk(*box);
    return text;
  }

  Process program;
  std::vector<Process> companion;
  ProgramOnPanel run;
};

TEST_F(FaultScenario, TheCompanionEndingDuringTheStartEndsTheProgramWithinASecond) {
  // Inside the first waits (trims, 500 and 300 ms), and inside the companion's pin pauses.
  for (int afterMs : {200, 2500}) {
    SCOPED_TRACE(afterMs);
    ResetScene();
    StartLivePanel();
    ClickStart();
    std::this_thread::sleep_for(milliseconds(afterMs));
    ASSERT_TRUE(SendCompanionCommand("exit"));
    for (Process& helper : companion) helper.Terminate();
    const auto ended = std::chrono::steady_clock::now();
    EXPECT_EQ(run.program.WaitForExit(5000), std::optional<DWORD>(0));
    EXPECT_LT(std::chrono::steady_clock::now() - ended, milliseconds(2500));
  }
}

TEST_F(FaultScenario, TheStatusLineKeepsItsValueWhileTheRoomStateFileCannotBeReadWhole) {
  StartLivePanel();
  const std::wstring path = RoomStatePath();
  struct Fault {
    const char* what;
    std::function<void()> stage;
  };
  HANDLE lock = INVALID_HANDLE_VALUE;
  const Fault faults[] = {
      {"locked by the companion",
       [&] { lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr); }},
      {"a folder in its place", [&] { DeleteFileW(path.c_str()); CreateDirectoryW(path.c_str(), nullptr); }},
      {"written over space of zeros", [&] { WriteFileBytes(path, "{\"roomStore\":{\"status\":4" + std::string(64, '\0')); }},
      {"larger than the program reads",
       [&] { WriteFileBytes(path, "{\"pad\":\"" + std::string(3u << 20, 'x') + "\",\"roomStore\":{\"status\":4}}"); }},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    fault.stage();
    std::this_thread::sleep_for(milliseconds(2500));
    EXPECT_EQ(StatusLine(run.panel), Wide(monitor::kLiveText));
    if (lock != INVALID_HANDLE_VALUE) {
      CloseHandle(lock);
      lock = INVALID_HANDLE_VALUE;
    }
    RemoveDirectoryW(path.c_str());
    ASSERT_TRUE(SendCompanionCommand("stop"));  // a whole document
    EXPECT_TRUE(StatusLineBecomes(monitor::kNotLiveText));
    ASSERT_TRUE(SendCompanionCommand("live"));
    ASSERT_TRUE(StatusLineBecomes(monitor::kLiveText));
  }
  EXPECT_TRUE(run.program.Running());
}

TEST_F(FaultScenario, TheFieldShowsWhatTheSystemsProfileReadGives) {
  const std::string longValue(10300, 'a');
  std::string huge;
  for (int line = 0; line < 200000; ++line) huge += "; a comment line that only makes the file large\r\n";
  huge += "[id]\r\nid2=game.exe\r\n";
  struct Case {
    const char* what;
    std::function<void()> stage;
    std::wstring field;
  };
  const std::wstring placeholder = Wide("请输入进程名称..");
  HANDLE lock = INVALID_HANDLE_VALUE;
  const Case cases[] = {
      {"a folder", [] { CreateDirectoryW(kSettings, nullptr); }, placeholder},
      {"locked by another program",
       [&] {
         WriteFileBytes(kSettings, "[id]\r\nid2=game.exe\r\n");
         lock = CreateFileW(kSettings, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
       },
       placeholder},
      {"binary", [] { WriteFileBytes(kSettings, std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR=", 17)); }, placeholder},
      {"a broken section header", [] { WriteFileBytes(kSettings, "[id\r\nid2=game.exe\r\n"); }, placeholder},
      {"blanks and capitals", [] { WriteFileBytes(kSettings, "  [ ID ]  \r\n  ID2 =  game.exe  \r\n"); }, L"game.exe"},
      {"quoted", [] { WriteFileBytes(kSettings, "[id]\r\nid2=\"game.exe\"\r\n"); }, L"game.exe"},
      {"huge, the key at its end", [&] { WriteFileBytes(kSettings, huge); }, L"game.exe"},
      {"a value longer than the read buffer",
       [&] { WriteFileBytes(kSettings, "[id]\r\nid2=" + longValue + ".exe\r\n"); },
       std::wstring(10239, L'a')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetScene();
    c.stage();
    HWND window = StartToStartWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(WholeTextOf(FindControl(window, start::编辑框3)), c.field);
    if (lock != INVALID_HANDLE_VALUE) {
      CloseHandle(lock);
      lock = INVALID_HANDLE_VALUE;
    }
  }
}

TEST_F(FaultScenario, WritesTheSystemRefusesAreHandled) {
  // Running as root under Wine, only a folder in the file's place makes the system refuse.
  CreateDirectoryW(kSettings, nullptr);
  CreateDirectoryW(L"C:\\CHZS.txt", nullptr);
  program = StartProgram();
  const auto notice = WaitForMessageBox(program.Id(), 20000);
  ASSERT_TRUE(notice);
  PressOk(*notice);
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 10000));
  EXPECT_EQ(TypeAndSave(window, L"game"), Wide("游戏进程：game.exe  保存失败！\r\n请右键选择“以管理员身份运行”本助手后再试！"));
  EXPECT_EQ(TextOf(FindControl(window, start::编辑框3)), L"game") << "the field is kept";
  // The marker cannot be written: the hand-over goes on without a word.
  companion = StartCompanion();
  ClickButton(FindControl(window, start::按钮1));
  HWND panelWindow = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (panelWindow = FindPanel(program.Id())) && IsWindowVisible(panelWindow); }, 10000));
  EXPECT_FALSE(WaitForMessageBox(program.Id(), 1500));
}

TEST_F(FaultScenario, GameNamesAreSavedWholeAsTheProgramReadsThemFromTheField) {
  const std::string longName(10500, 'g');
  struct Case {
    const char* what;
    std::wstring typed;
    std::string saved;     // GBK: the name the program saves and confirms
    std::string readBack;  // what the profile read gives of it
  };
  const Case cases[] = {
      {"Chinese", Wide("原神"), "原神.exe", "原神.exe"},
      {"a character outside GBK", Wide("游戏") + L"\u0E01", "游戏?.exe", "游戏?.exe"},
      {"blanks only", L"   ", "   .exe", ".exe"},
      {"over 10,000 bytes", std::wstring(longName.begin(), longName.end()), longName + ".exe", longName + ".exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetScene();
    HWND window = StartToStartWindow();
    ASSERT_TRUE(window);
    const std::wstring box = TypeAndSave(window, c.typed);
    EXPECT_TRUE(box.starts_with(Wide("游戏进程：" + c.saved + "  保存成功！"))) << box.size();
    EXPECT_EQ(StoredName(), c.readBack);
  }
}

TEST_F(FaultScenario, TheCaptureFindsAChineseGameAndKeepsLookingQuietlyForANameBeyondGbk) {
  struct Case {
    const char* what;
    std::string stored;    // GBK
    std::wstring running;  // the game's executable
    bool captured;
  };
  const Case cases[] = {
      {"Chinese", "原神.exe", Wide("原神.exe"), true},
      // Saved from a field holding 游戏ก: the narrow snapshot names that game "游戏?.exe" too.
      {"a character outside GBK", "游戏?.exe", Wide("游戏") + L"\u0E01.exe", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetScene();
    StartLivePanel(c.stored);
    Process game = StartStandIn(c.running);
    ClickStart();
    const auto captured = [&] {
      const auto log = Log(run.panel);
      return !log.empty() && log.back() == Wide(optimizer::kCapturedLogLine);
    };
    EXPECT_EQ(WaitFor(captured, 8000), c.captured);
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, game.Id());
    EXPECT_EQ(GetPriorityClass(handle), static_cast<DWORD>(c.captured ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS));
    CloseHandle(handle);
    EXPECT_TRUE(run.program.Running());
  }
}

}  // namespace
