// The Win32 backend's windows and controls: what they are, and the events they report.
#include <gmock/gmock.h>

#include <string>

#include "tests/wine/ui_win32_fixture.h"

namespace ui_win32_test {
namespace {

using testing::ElementsAre;
using testing::Pair;
using ui::EventKind;
using ui::WindowId;
namespace panel = ui::panel;
namespace start = ui::start;

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

const char* ClassOf(ui::Kind kind) {
  switch (kind) {
    case ui::Kind::GroupBox:
    case ui::Kind::Button: return "Button";
    case ui::Kind::EditBox: return "Edit";
    case ui::Kind::ListBox: return "ListBox";
    case ui::Kind::Label: return "CompanionTunerLabel";
    case ui::Kind::PictureButton: return "CompanionTunerPictureButton";
    case ui::Kind::Timer: break;
  }
  return "";
}

std::string TextOf(HWND hwnd) {
  char text[1024] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

TEST_F(Win32BackendTest, EveryControlSitsInItsParentAsDesigned) {
  for (WindowId window : {WindowId::Start, WindowId::Panel}) {
    Load(window);
    const auto& controls = ui::DesignOf(window).controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ui::ControlDesign& design = controls[i];
      if (design.kind == ui::Kind::Timer) continue;
      SCOPED_TRACE(i);
      HWND hwnd = Control({window, static_cast<std::uint8_t>(i)});
      ASSERT_TRUE(hwnd);
      EXPECT_STRCASEEQ(ClassOf(hwnd).c_str(), ClassOf(design.kind));
      RECT rect;
      GetWindowRect(hwnd, &rect);
      MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
      EXPECT_EQ(rect.left, design.left);
      EXPECT_EQ(rect.top, design.top);
      EXPECT_EQ(rect.right - rect.left, design.width);
      EXPECT_EQ(rect.bottom - rect.top, design.height);
      EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, design.visible);
      EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, !design.disabled);
      EXPECT_EQ((GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) != 0, design.tabStop);
      EXPECT_EQ(TextOf(hwnd), design.text);
    }
  }
}

TEST_F(Win32BackendTest, WindowsHaveTheirFramesSizesAndIcon) {
  struct Case {
    WindowId window;
    DWORD style, notStyle;
  };
  const Case cases[] = {
      {WindowId::Start, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX | WS_POPUP},
      {WindowId::Panel, WS_POPUP, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
  };
  for (const Case& c : cases) {
    HWND hwnd = Load(c.window, 300, 250);
    const ui::WindowDesign& design = ui::DesignOf(c.window);
    const DWORD style = GetWindowLongA(hwnd, GWL_STYLE);
    EXPECT_EQ(style & c.style, c.style);
    EXPECT_EQ(style & c.notStyle, 0);
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(GetClassLongPtrA(hwnd, GCLP_HICON));
    const ui::WindowPlacement placement = backend.Placement(c.window);
    EXPECT_TRUE(placement.exists && placement.visible && !placement.minimised && !placement.topmost);
    EXPECT_EQ(backend.NormalRect(c.window), (platform::Rect{300, 250, 300 + design.width, 250 + design.height}));
  }
}

TEST_F(Win32BackendTest, FontsAreTheDesignsLogicalFonts) {
  Load(WindowId::Start);
  Load(WindowId::Panel);
  for (ui::ControlId id : {start::编辑框2, panel::列表框1}) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "微软雅黑");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, 134);
  }
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(Control(start::编辑框3), WM_GETFONT, 0, 0)),
            GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Win32BackendTest, ListLinesAreOneExtraPixelApartAndKeepTheirOrder) {
  Load(WindowId::Panel);
  HWND list = Control(panel::列表框1);
  HDC dc = GetDC(list);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  ReleaseDC(list, dc);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), metrics.tmHeight + 1);

  backend.AppendLine(panel::列表框1, "直播伴侣已启动");
  backend.InsertLine(panel::列表框1, 0, "已开启自动优化");
  backend.AppendLine(panel::列表框1, "游戏进程已捕获优化");
  std::vector<std::string> lines;
  for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    char line[256] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
    lines.emplace_back(line);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, i, 0), 0);
  }
  EXPECT_THAT(lines, ElementsAre("已开启自动优化", "直播伴侣已启动", "游戏进程已捕获优化"));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  backend.ClearLines(panel::列表框1);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(Win32BackendTest, ButtonsInsideGroupBoxesReportTheirClicks) {
  Load(WindowId::Start);
  SendMessageA(Control(start::按钮1), BM_CLICK, 0, 0);
  SendMessageA(Control(start::按钮2), BM_CLICK, 0, 0);
  EXPECT_THAT(sink.events, ElementsAre(Pair(start::按钮1, EventKind::Click), Pair(start::按钮2, EventKind::Click)));
}

TEST_F(Win32BackendTest, PressingAnEditBoxRunsItsHandlerBeforeTheEditBoxTakesTheFocus) {
  Load(WindowId::Start);
  HWND edit = Control(start::编辑框3);
  bool focusedDuringHandler = true;
  sink.onEvent = [&](ui::ControlId, EventKind) { focusedDuringHandler = GetFocus() == edit; };
  const POINT point = Inside(ScreenRect(start::编辑框3), 20, 10);
  PressLeft(point);
  ReleaseLeft(point);
  EXPECT_THAT(sink.events, ElementsAre(Pair(start::编辑框3, EventKind::LeftButtonDown)));
  EXPECT_FALSE(focusedDuringHandler);
  EXPECT_EQ(GetFocus(), edit);
}

TEST_F(Win32BackendTest, PictureButtonClicksOnReleaseOverItWhileEnabled) {
  Load(WindowId::Panel);
  const RECT button = ScreenRect(panel::图形按钮1);
  const POINT over = Inside(button, 50, 20);
  const POINT outside = Inside(button, 50, 60);

  PressLeft(over);
  EXPECT_TRUE(sink.events.empty()) << "no click on the press";
  ReleaseLeft(outside);
  EXPECT_TRUE(sink.events.empty()) << "released elsewhere";

  PressLeft(over);
  MoveMouse(outside);
  MoveMouse(over);
  ReleaseLeft(over);
  EXPECT_THAT(sink.events, ElementsAre(Pair(panel::图形按钮1, EventKind::Click)));

  backend.Disable(panel::图形按钮1);
  PressLeft(over);
  ReleaseLeft(over);
  EXPECT_EQ(sink.events.size(), 1u) << "a disabled button ignores the mouse";
}

TEST_F(Win32BackendTest, TimersTickOnlyWhileStarted) {
  Load(WindowId::Panel);
  backend.StartTimer(panel::检测伴侣窗口, 20);
  Pump(300);
  const std::size_t ticks = sink.events.size();
  EXPECT_GE(ticks, 3u);
  for (const auto& event : sink.events) EXPECT_EQ(event, std::make_pair(panel::检测伴侣窗口, EventKind::Tick));
  backend.StopTimer(panel::检测伴侣窗口);
  Pump(100);
  EXPECT_EQ(sink.events.size(), ticks);
}

TEST_F(Win32BackendTest, APostedDestructionWaitsForTheMessageLoop) {
  HWND hwnd = Load(WindowId::Panel);
  backend.PostDestroy(WindowId::Panel);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(backend.Placement(WindowId::Panel).exists);
  EXPECT_TRUE(sink.destroyed.empty());
  Pump(0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_THAT(sink.destroyed, ElementsAre(WindowId::Panel));
  EXPECT_FALSE(backend.Placement(WindowId::Panel).exists);
  backend.SetText(panel::透明标签1, "检测到已开播");  // a destroyed window's controls are out of reach
  EXPECT_EQ(backend.Text(panel::透明标签1), "");
}

TEST_F(Win32BackendTest, PlacementFollowsShowStatesTopmostAndMoves) {
  Load(WindowId::Panel);
  backend.SetTopmost(WindowId::Panel, true);
  EXPECT_TRUE(backend.Placement(WindowId::Panel).topmost);
  backend.SetTopmost(WindowId::Panel, false);
  EXPECT_FALSE(backend.Placement(WindowId::Panel).topmost);
  backend.MoveWindow(WindowId::Panel, {-500, 40, -500 + 290, 40 + 110});
  EXPECT_EQ(backend.NormalRect(WindowId::Panel), (platform::Rect{-500, 40, -210, 150}));
  backend.ShowWindow(WindowId::Panel, ui::ShowCommand::MinimiseNoActivate);
  EXPECT_TRUE(backend.Placement(WindowId::Panel).minimised);
  EXPECT_TRUE(backend.Placement(WindowId::Panel).visible);
  // Moved while minimised, it stays so, and comes back where it was moved.
  backend.MoveWindow(WindowId::Panel, {120, 60, 120 + 290, 60 + 110});
  EXPECT_TRUE(backend.Placement(WindowId::Panel).minimised);
  EXPECT_EQ(backend.NormalRect(WindowId::Panel), (platform::Rect{120, 60, 410, 170}));
  backend.ShowWindow(WindowId::Panel, ui::ShowCommand::RestoreNoActivate);
  RECT restored;
  GetWindowRect(Window(WindowId::Panel), &restored);
  EXPECT_FALSE(backend.Placement(WindowId::Panel).minimised);
  EXPECT_EQ((platform::Rect{restored.left, restored.top, restored.right, restored.bottom}),
            (platform::Rect{120, 60, 410, 170}));
  backend.ShowWindow(WindowId::Panel, ui::ShowCommand::Hide);
  EXPECT_FALSE(backend.Placement(WindowId::Panel).visible);
}

// What lets the model leave out a topmost write that would change nothing.
TEST_F(Win32BackendTest, ATopmostWindowIsFirstInTheZOrderUntilAnotherTopmostWindowComesAbove) {
  Load(WindowId::Panel);
  backend.SetTopmost(WindowId::Panel, true);
  EXPECT_TRUE(backend.IsFirstInZOrder(WindowId::Panel));
  HWND other = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
  Pump(50);
  EXPECT_FALSE(backend.IsFirstInZOrder(WindowId::Panel));
  backend.SetTopmost(WindowId::Panel, true);
  EXPECT_TRUE(backend.IsFirstInZOrder(WindowId::Panel)) << "raised above it again";
  DestroyWindow(other);
}

TEST_F(Win32BackendTest, TextsAreReadBackAsWritten) {
  Load(WindowId::Start);
  backend.SetText(start::编辑框3, "游戏.exe");
  EXPECT_EQ(backend.Text(start::编辑框3), "游戏.exe");
  backend.SetText(start::透明标签3, "进程：");
  EXPECT_EQ(backend.Text(start::透明标签3), "进程：");
}

MSG KeyDown(HWND hwnd, WPARAM key) { return MSG{hwnd, WM_KEYDOWN, key, 0, 0, {}}; }

TEST_F(Win32BackendTest, TabMovesBetweenEnabledTabStopsAcrossGroupBoxes) {
  Load(WindowId::Start);
  SetFocus(Control(start::按钮1));
  const ui::ControlId order[] = {start::编辑框3, start::按钮2, start::按钮1};
  for (ui::ControlId next : order) {
    MSG tab = KeyDown(GetFocus(), VK_TAB);
    EXPECT_TRUE(ui::win32::PreTranslateDialogKeys(tab));
    EXPECT_EQ(GetFocus(), Control(next));
  }
}

TEST_F(Win32BackendTest, EnterInTheOneLineEditBoxIsSwallowed) {
  Load(WindowId::Start);
  MSG inEdit = KeyDown(Control(start::编辑框3), VK_RETURN);
  EXPECT_TRUE(ui::win32::PreTranslateDialogKeys(inEdit));
  MSG onButton = KeyDown(Control(start::按钮2), VK_RETURN);
  EXPECT_FALSE(ui::win32::PreTranslateDialogKeys(onButton));
}

TEST_F(Win32BackendTest, EscClosesOnlyTheWindowWhoseDesignSaysSo) {
  Load(WindowId::Start);
  Load(WindowId::Panel, 900, 200);
  MSG inPanel = KeyDown(Control(panel::列表框1), VK_ESCAPE);
  EXPECT_FALSE(ui::win32::PreTranslateDialogKeys(inPanel));
  MSG inEdit = KeyDown(Control(start::编辑框3), VK_ESCAPE);
  EXPECT_TRUE(ui::win32::PreTranslateDialogKeys(inEdit));
  EXPECT_THAT(sink.destroyed, ElementsAre(WindowId::Start));
  EXPECT_TRUE(IsWindow(Window(WindowId::Panel)));
}

TEST_F(Win32BackendTest, TheManifestBringsCommonControlsSix) {
  Load(WindowId::Start);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, sizeof path);
  std::string folder = path;
  for (char& c : folder) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  EXPECT_THAT(folder, testing::HasSubstr("microsoft.windows.common-controls_6595b64144ccf1df_6.0."));
}

TEST(ProgramResources, VersionInformationNamesTheProgramInChinese) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::vector<char> block(GetFileVersionInfoSizeW(path, nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
  wchar_t* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\080404B0\\ProductName", reinterpret_cast<void**>(&name),
                             &length));
  EXPECT_EQ(std::wstring(name), std::wstring(L"\u6f84\u79be\u76f4\u64ad\u4f34\u4fa3\u4f18\u5316\u52a9\u624b"));  // 澄禾直播伴侣优化助手
}

TEST_F(Win32BackendTest, AltF4ClosesThePanelAtOnce) {
  HWND panel = Load(WindowId::Panel);
  SendMessageA(panel, WM_SYSKEYDOWN, VK_F4, 1 << 29);  // bit 29: Alt held
  Pump(50);
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_THAT(sink.destroyed, ElementsAre(WindowId::Panel));
}

}  // namespace
}  // namespace ui_win32_test
