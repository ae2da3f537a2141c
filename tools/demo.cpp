// The demo: the typical run of a streamer, played against the real program beside the
// stand-in companion and a stand-in game, printing what the program shows and saving
// screenshots (to CT_OUTPUT_DIR).
#include <cstdio>
#include <string>

#include "monitor/live_status.h"
#include "tests/wine/harness/harness.h"
#include "ui/design.h"

namespace {

using namespace harness;
namespace panel = ui::panel;
namespace start = ui::start;

// The Linux terminal reads UTF-8.
std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(bytes.find('\0'));
  return bytes;
}

// The program's texts are GBK, and so are this file's literals: printed as UTF-8.
void Say(const std::wstring& line) {
  std::printf("%s\n", Utf8(line).c_str());
  std::fflush(stdout);
}
void Say(const std::string& gbk) { Say(Wide(gbk)); }

void Shot(const std::wstring& name, HWND window) {
  const RECT rect = WindowRectOf(window);
  Say(L"  screenshot: " + SaveScreenshot(name, &rect));
}

void ShowPanel(HWND panelWindow) {
  Say(L"  status line: " + StatusLine(panelWindow));
  Say(L"  memory line: " + TextOf(FindControl(panelWindow, panel::透明标签2)));
  for (const auto& line : Log(panelWindow)) Say(L"  log: " + line);
}

bool DismissBox(DWORD processId, const char* what) {
  const auto box = WaitForMessageBox(processId, 20000);
  if (!box) return false;
  Say(Wide(what) + L" [" + box->caption + L"] " + box->text);
  PressOk(*box);
  return true;
}

int Fail(const char* what) {
  Say(std::string("demo stopped: ") + what);
  return 1;
}

}  // namespace

int main() {
  ResetScene();
  Say("1. The companion runs: 直播伴侣.exe with its window, mate-ai.exe, MediaSDK_Server.exe.");
  std::vector<Process> companion = StartCompanion();
  if (!FindCompanionWindow()) return Fail("the stand-in companion has no window");

  Say("2. The streamer starts companion-tuner.exe for the first time.");
  Process program = StartProgram();
  if (!DismissBox(program.Id(), "  notice")) return Fail("no notice");
  HWND window = nullptr;
  if (!WaitFor([&] { return (window = FindStartWindow(program.Id())) && IsWindowVisible(window); }, 10000))
    return Fail("no start window");
  Say(L"  start window: " + TextOf(window));
  Say(L"  " + TextOf(FindControl(window, start::透明标签2)));
  Shot(L"1-start-window", window);

  Say("3. The streamer types the game's name and saves it.");
  HWND field = FindControl(window, start::编辑框3);
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"standin-game"));
  ClickButton(FindControl(window, start::按钮2));
  if (!DismissBox(program.Id(), "  saved")) return Fail("no confirmation");
  HWND target = FindControl(window, start::透明标签5);
  WaitFor([&] { return TextOf(target).find(L"standin-game") != std::wstring::npos; }, 3000);
  Say(L"  " + TextOf(target));

  Say("4. The streamer goes on to the panel.");
  ClickButton(FindControl(window, start::按钮1));
  HWND panelWindow = nullptr;
  if (!WaitFor([&] { return (panelWindow = FindPanel(program.Id())) && IsWindowVisible(panelWindow); }, 10000))
    return Fail("no panel");
  WaitFor([&] { return StatusLine(panelWindow) != Wide("请开启直播"); }, 3000);
  const RECT companionRect = WindowRectOf(FindCompanionWindow());
  const RECT panelRect = WindowRectOf(panelWindow);
  Say("  companion window bottom-left (" + std::to_string(companionRect.left) + ", " + std::to_string(companionRect.bottom) +
      "), panel top-left (" + std::to_string(panelRect.left) + ", " + std::to_string(panelRect.top) + ")");
  ShowPanel(panelWindow);
  RECT both{companionRect.left, companionRect.top, companionRect.right, panelRect.bottom};
  Say(L"  screenshot: " + SaveScreenshot(L"2-panel-docked", &both));

  Say("5. The streamer goes live in the companion.");
  SendCompanionCommand("live");
  WaitFor([&] { return StatusLine(panelWindow) == Wide(monitor::kLiveText); }, 3000);
  ShowPanel(panelWindow);

  Say("6. The streamer starts the game and clicks the start button.");
  Process game = StartStandIn(L"standin-game.exe");
  ClickWithMouse(FindControl(panelWindow, panel::图形按钮1));
  WaitFor([&] { const auto log = Log(panelWindow); return !log.empty() && log.back() == Wide("游戏进程已捕获优化"); }, 10000);
  // The start lasts about 5.4 s; its last step writes the memory line.
  WaitFor([&] { return !TextOf(FindControl(panelWindow, panel::透明标签2)).empty(); }, 15000);
  ShowPanel(panelWindow);
  HANDLE gameHandle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, game.Id());
  Say(std::string("  the game's priority class: ") +
      (GetPriorityClass(gameHandle) == HIGH_PRIORITY_CLASS ? "HIGH_PRIORITY_CLASS" : "not raised"));
  CloseHandle(gameHandle);
  Shot(L"3-panel-optimizing", panelWindow);

  Say("7. A minute later the panel re-tunes.");
  WaitFor([&] { return Log(panelWindow).front() == Wide("持续优化中..."); }, 75000);
  ShowPanel(panelWindow);
  Shot(L"4-panel-retuned", panelWindow);

  Say("8. The streamer closes the companion.");
  SendCompanionCommand("exit");
  const auto code = program.WaitForExit(10000);
  Say(code ? "  companion-tuner.exe ended with exit code " + std::to_string(*code) : "  companion-tuner.exe still runs");
  ResetScene();
  return code && *code == 0 ? 0 : 1;
}
