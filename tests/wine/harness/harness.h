#pragma once
// What the Windows tests (and the demo) use to drive the real program under Wine: start it
// and the stand-in companion, find its windows, message boxes and controls, read and click
// them, and take screenshots.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/ids.h"

namespace harness {

// Polls `condition` every 10 ms until it holds or `timeoutMs` pass.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

// The program and the stand-in as built, and the folder for screenshots (the environment's
// CT_OUTPUT_DIR, a Windows path, when set). The damaged-skin program is the program built
// with only the first half of the skin library's image, which it cannot map.
std::wstring ProgramPath();
std::wstring DamagedSkinProgramPath();
std::wstring StandInPath();
std::wstring OutputFolder();

// A process the test started; it is ended when the object goes.
class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  ~Process();
  static Process Start(const std::wstring& executable, const std::wstring& arguments = L"");
  DWORD Id() const { return id_; }
  bool Running() const;
  // Waits for the end; the exit code, or none when it is still running after timeoutMs.
  std::optional<DWORD> WaitForExit(int timeoutMs) const;
  void Terminate();

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// Ends leftovers of earlier tests and removes every file the program or the stand-in wrote:
// the notice marker, the settings file, the room-state file.
void ResetScene();

Process StartProgram(const std::wstring& program = ProgramPath());
// The stand-in under `exeName` ("直播伴侣.exe", "mate-ai.exe", a game's name ...).
Process StartStandIn(const std::wstring& exeName);

// Whether Wine's crash report (winedbg, which shows the crash dialog) runs.
bool CrashReported();

std::wstring RoomStatePath();
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadFileBytes(const std::wstring& path);

std::vector<HWND> TopLevelWindowsOf(DWORD processId);

struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring text;
  std::wstring caption;
};
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, int timeoutMs);
void PressOk(const MessageBoxSeen& box);

// The program's windows: the start window by its title, the panel by its frameless size.
HWND FindStartWindow(DWORD processId);
HWND FindPanel(DWORD processId);
// A control of a window, found where its design places it.
HWND FindControl(HWND window, ui::ControlId control);

std::wstring TextOf(HWND window);
std::vector<std::wstring> ListLines(HWND listBox);
RECT WindowRectOf(HWND window);
// A button click as the button itself makes it (BM_CLICK, posted).
void ClickButton(HWND button);
// The left mouse button pressed and released over the middle of a control.
void ClickWithMouse(HWND control);
// A key pressed in a window (posted WM_KEYDOWN/WM_KEYUP, as the keyboard would).
void PressKey(HWND window, UINT virtualKey);
// The screen's pixel at a point.
COLORREF PixelAt(POINT screenPoint);
// Saves the screen (or a part of it) as a PNG in the output folder; the file's path.
std::wstring SaveScreenshot(const std::wstring& name, const RECT* part = nullptr);

// GBK text of the program (design texts, messages) as UTF-16 for comparisons.
std::wstring Wide(std::string_view gbk);

// The program started beside a running companion (its three processes) and taken through the
// notice and the start window to the panel, which this waits for.
struct ProgramOnPanel {
  Process program;
  HWND panel = nullptr;
};
ProgramOnPanel StartToPanel(const std::string& savedGame = "");
std::vector<Process> StartCompanion();
// The panel's status line, as it reads now.
std::wstring StatusLine(HWND panel);
std::vector<std::wstring> Log(HWND panel);

// Commands to the stand-in companion's window (see tools/standin.cpp).
HWND FindCompanionWindow();
bool SendCompanionCommand(const std::string& command);
bool SendRoomStateBytes(const std::string& bytes);

}  // namespace harness
