// The real program under Wine: start-up, the single-instance guard, the notice, the start
// window, Esc, and the hand-over to the panel.
#include <gtest/gtest.h>

#include <cctype>

#include "app/startup.h"
#include "tests/wine/harness/harness.h"
#include "ui/design.h"

namespace {

using namespace harness;
using ui::WindowId;
namespace start = ui::start;

constexpr int kStartTimeoutMs = 20000;

class StartupScenario : public testing::Test {
 protected:
  void SetUp() override { ResetScene(); }
  void TearDown() override { ResetScene(); }

  // Starts the program with the notice already seen, and waits for its start window.
  HWND StartToStartWindow(Process& program) {
    WriteFileBytes(L"C:\\CHZS.txt", "");
    program = StartProgram();
    HWND window = nullptr;
    WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, kStartTimeoutMs);
    return window;
  }
};

// What the built program asks of Windows: administrator rights where the user has them (the
// UAC prompt at start), the systems it was made for, and the common controls 6.
TEST(ProgramManifest, AsksForTheHighestRightsAndNamesTheSupportedSystems) {
  HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(program);
  HRSRC resource = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
  ASSERT_TRUE(resource);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, resource))),
                             SizeofResource(program, resource));
  FreeLibrary(program);
  const char* entries[] = {
      R"(<requestedExecutionLevel level="highestAvailable" uiAccess="false"/>)",
      R"(<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>)",  // Windows 7
      R"(<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>)",  // Windows 8
      R"(<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>)",  // Windows 8.1
      R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",  // Windows 10 and 11
      R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
  };
  for (const char* entry : entries) EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
  EXPECT_EQ(manifest.find("asInvoker"), std::string::npos);
}

TEST_F(StartupScenario, TheNoticeIsOnScreenBeforeTheStartWindow) {
  for (bool directoryAtMarker : {false, true}) {
    SCOPED_TRACE(directoryAtMarker ? "a directory at C:\\CHZS.txt" : "no C:\\CHZS.txt");
    ResetScene();
    if (directoryAtMarker) CreateDirectoryW(L"C:\\CHZS.txt", nullptr);
    Process program = StartProgram();
    const auto notice = WaitForMessageBox(program.Id(), kStartTimeoutMs);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text, Wide(app::kNoticeMessage));
    EXPECT_EQ(notice->caption, L"Text");
    HWND window = FindStartWindow(program.Id());
    EXPECT_TRUE(!window || !IsWindowVisible(window)) << "the start window waits for the notice";
    PressOk(*notice);
    EXPECT_TRUE(WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 10000));
  }
}

TEST_F(StartupScenario, ASecondInstanceOnlySaysSoAndEnds) {
  Process first;
  HWND firstWindow = StartToStartWindow(first);
  ASSERT_TRUE(firstWindow);
  Process second = StartProgram();
  const auto box = WaitForMessageBox(second.Id(), kStartTimeoutMs);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, Wide(app::kAlreadyRunningMessage));
  EXPECT_EQ(box->caption, Wide("信息："));
  PressOk(*box);
  EXPECT_EQ(second.WaitForExit(10000), std::optional<DWORD>(0));
  EXPECT_FALSE(FindStartWindow(second.Id()));
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(IsWindowVisible(firstWindow));
}

TEST_F(StartupScenario, AnInstanceEventThatMayNotBeOpenedCountsAsARunningInstance) {
  // What an instance run as administrator leaves to one that is not: an event that exists
  // and that this user is denied.
  SECURITY_DESCRIPTOR noAccess;
  InitializeSecurityDescriptor(&noAccess, SECURITY_DESCRIPTOR_REVISION);
  ACL noEntries;
  InitializeAcl(&noEntries, sizeof noEntries, ACL_REVISION);
  SetSecurityDescriptorDacl(&noAccess, TRUE, &noEntries, FALSE);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &noAccess, FALSE};
  const std::wstring name = Wide(app::kInstanceEventName);
  HANDLE event = CreateEventW(&attributes, FALSE, FALSE, name.c_str());
  ASSERT_TRUE(event);
  ASSERT_FALSE(OpenEventW(EVENT_ALL_ACCESS, FALSE, name.c_str()));
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  Process program = StartProgram();
  const auto box = WaitForMessageBox(program.Id(), kStartTimeoutMs);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, Wide(app::kAlreadyRunningMessage));
  PressOk(*box);
  EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
  EXPECT_FALSE(FindStartWindow(program.Id()));
  CloseHandle(event);
}

TEST_F(StartupScenario, TheStartWindowAsDesigned) {
  Process program;
  HWND window = StartToStartWindow(program);
  ASSERT_TRUE(window);
  const RECT rect = WindowRectOf(window);
  EXPECT_EQ(rect.right - rect.left, 637);
  EXPECT_EQ(rect.bottom - rect.top, 323);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 637) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 323) / 2);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  HWND tutorial = FindControl(window, start::编辑框2);
  ASSERT_TRUE(tutorial);
  EXPECT_FALSE(IsWindowEnabled(tutorial));
  EXPECT_EQ(TextOf(tutorial), Wide(ui::DesignOf(start::编辑框2).text));
  SaveScreenshot(L"start-window", &rect);
}

TEST_F(StartupScenario, TheGameFieldShowsTheSavedNameOrThePlaceholder) {
  struct Case {
    const char* what;
    const char* settings;  // nullptr: no file
    const char* field;
  };
  const Case cases[] = {
      {"saved name", "[id]\r\nid2=游戏Game.exe\r\n", "游戏Game.exe"},
      {"no file", nullptr, "请输入进程名称.."},
      {"no key", "[id]\r\nother=x\r\n", "请输入进程名称.."},
      {"empty value", "[id]\r\nid2=\r\n", "请输入进程名称.."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetScene();
    if (c.settings) WriteFileBytes(L"C:\\yxjc.ini", c.settings);
    Process program;
    HWND window = StartToStartWindow(program);
    ASSERT_TRUE(window);
    EXPECT_EQ(TextOf(FindControl(window, start::编辑框3)), Wide(c.field));
  }
}

TEST_F(StartupScenario, EscClosesTheStartWindowAndEndsTheProgram) {
  for (bool inField : {false, true}) {
    SCOPED_TRACE(inField ? "caret in the game field" : "window");
    ResetScene();
    Process program;
    HWND window = StartToStartWindow(program);
    ASSERT_TRUE(window);
    HWND target = inField ? FindControl(window, start::编辑框3) : window;
    ASSERT_TRUE(target);
    PressKey(target, VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(10000), std::optional<DWORD>(0));
  }
}

TEST_F(StartupScenario, TheHandOverShowsThePanelAndWritesTheMarker) {
  for (bool markerHeldBytes : {false, true}) {
    SCOPED_TRACE(markerHeldBytes ? "marker held bytes" : "fresh marker");
    ResetScene();
    const std::vector<Process> companion = StartCompanion();  // else the panel ends the program at once
    Process program;
    HWND window = StartToStartWindow(program);
    ASSERT_TRUE(window);
    if (markerHeldBytes) WriteFileBytes(L"C:\\CHZS.txt", "left over");
    const auto clicked = std::chrono::steady_clock::now();
    ClickButton(FindControl(window, start::按钮1));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }, 10000));
    EXPECT_GE(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(300));
    HWND panel = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (panel = FindPanel(program.Id())) != nullptr; }, 10000));
    EXPECT_EQ(ReadFileBytes(L"C:\\CHZS.txt"), std::optional<std::string>(""));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }, 5000)) << "the start window is destroyed";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(program.Running());
    const RECT rect = WindowRectOf(panel);
    const COLORREF background = PixelAt({rect.left + 5, rect.top + 100});
    EXPECT_EQ(background, RGB(0x22, 0x22, 0x22));
    if (markerHeldBytes) SaveScreenshot(L"panel", &rect);
  }
}

TEST_F(StartupScenario, AfterAHandOverTheNextStartShowsNoNotice) {
  const std::vector<Process> companion = StartCompanion();
  Process program = StartProgram();
  auto notice = WaitForMessageBox(program.Id(), kStartTimeoutMs);
  ASSERT_TRUE(notice);
  PressOk(*notice);
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 10000));
  ClickButton(FindControl(window, start::按钮1));
  ASSERT_TRUE(WaitFor([&] { return FindPanel(program.Id()) != nullptr; }, 10000));
  program.Terminate();
  Process again = StartProgram();
  ASSERT_TRUE(WaitFor([&] { return (window = FindStartWindow(again.Id())) && IsWindowVisible(window); }, kStartTimeoutMs));
  EXPECT_FALSE(WaitForMessageBox(again.Id(), 500));
}

// The system's autocomplete drop-down of the game field: a shown window of the program's own
// that holds a list box; its number of lines.
std::optional<int> SuggestionsShown(DWORD programId) {
  for (HWND top : TopLevelWindowsOf(programId)) {
    HWND list = FindWindowExW(top, nullptr, L"ListBox", nullptr);
    if (list && IsWindowVisible(top) && IsWindowVisible(list)) return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  }
  return std::nullopt;
}

// Typed as the keyboard types: the keys go down and up, and the window's loop makes the
// characters.
void TypeLetters(HWND edit, std::string_view letters) {
  for (char letter : letters) {
    PressKey(edit, static_cast<UINT>(std::toupper(static_cast<unsigned char>(letter))));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

TEST_F(StartupScenario, TheGameFieldSuggestsTheRunningGameAndSavesTheOneChosen) {
  Process game = StartStandIn(L"mygame.exe");
  Process program;
  HWND window = StartToStartWindow(program);
  ASSERT_TRUE(window);
  HWND field = FindControl(window, start::编辑框3);
  ClickWithMouse(field);  // the placeholder makes way
  TypeLetters(field, "se");
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_FALSE(SuggestionsShown(program.Id())) << "services.exe runs from the Windows folder: no game";

  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  TypeLetters(field, "my");
  ASSERT_TRUE(WaitFor([&] { return SuggestionsShown(program.Id()) == 1; }, 3000)) << "the stand-in game, once";
  SaveScreenshot(L"game_field_suggestions");
  PressKey(field, VK_DOWN);
  ASSERT_TRUE(WaitFor([&] { return TextOf(field) == L"mygame.exe"; }, 3000)) << TextOf(field);
  PressKey(field, VK_RETURN);

  ClickButton(FindControl(window, start::按钮2));
  const auto saved = WaitForMessageBox(program.Id(), 10000);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->text.substr(0, 22), Wide("游戏进程：mygame.exe  保存成功！"));
  PressOk(*saved);
  EXPECT_EQ(ReadFileBytes(L"C:\\yxjc.ini"), std::optional<std::string>("[id]\r\nid2=mygame.exe\r\n"));
}

}  // namespace
