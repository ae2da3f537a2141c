#include "tests/wine/harness/harness.h"

#include <png.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>

#include "platform/text.h"
#include "ui/design.h"

namespace harness {

namespace {

// A path of the Linux side as Wine sees it (drive Z: is the Linux root).
std::wstring FromLinuxPath(const char* path) {
  std::wstring wide = L"Z:" + Wide(path);
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  return wide;
}

const wchar_t kStandInFolder[] = L"C:\\standin";

bool SameName(const wchar_t* a, const std::wstring& b) { return lstrcmpiW(a, b.c_str()) == 0; }

// Calls `found(id)` for every other process that has one of the names.
template <typename Found>
void ForEachProcessNamed(const std::vector<std::wstring>& names, Found found) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    for (const auto& name : names)
      if (SameName(entry.szExeFile, name) && entry.th32ProcessID != GetCurrentProcessId()) found(entry.th32ProcessID);
  CloseHandle(snapshot);
}

void EndProcessesNamed(const std::vector<std::wstring>& names) {
  ForEachProcessNamed(names, [](DWORD id) {
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  });
}

std::vector<std::wstring> StandInNames() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((std::wstring(kStandInFolder) + L"\\*.exe").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(found.cFileName);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

void RemovePath(const std::wstring& path) {
  if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::wstring Wide(std::string_view gbk) {
  const std::u16string wide = platform::MultiByteToUtf16(platform::kGbkCodePage, gbk);
  return std::wstring(wide.begin(), wide.end());
}

std::wstring ProgramPath() { return FromLinuxPath(CT_PROGRAM_PATH); }
std::wstring DamagedSkinProgramPath() { return FromLinuxPath(CT_DAMAGED_SKIN_PROGRAM_PATH); }
std::wstring StandInPath() { return FromLinuxPath(CT_STANDIN_PATH); }
std::wstring OutputFolder() {
  wchar_t chosen[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"CT_OUTPUT_DIR", chosen, MAX_PATH)) return chosen;
  return FromLinuxPath(CT_OUTPUT_DIR);
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
  other.handle_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Terminate();
    handle_ = other.handle_;
    id_ = other.id_;
    other.handle_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

Process::~Process() { Terminate(); }

Process Process::Start(const std::wstring& executable, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + executable + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Process process;
  if (CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &startup,
                     &info)) {
    CloseHandle(info.hThread);
    process.handle_ = info.hProcess;
    process.id_ = info.dwProcessId;
  }
  return process;
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(int timeoutMs) const {
  if (!handle_ || WaitForSingleObject(handle_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Terminate() {
  if (!handle_) return;
  if (Running()) {
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, 5000);
  }
  CloseHandle(handle_);
  handle_ = nullptr;
}

void ResetScene() {
  std::vector<std::wstring> names = StandInNames();
  names.push_back(FileNameOf(ProgramPath()));
  names.push_back(FileNameOf(DamagedSkinProgramPath()));
  names.push_back(L"winedbg.exe");  // a crash's report
  EndProcessesNamed(names);
  RemovePath(L"C:\\CHZS.txt");
  RemovePath(L"C:\\yxjc.ini");
  const std::wstring room = RoomStatePath();
  RemovePath(room);
  RemovePath(room.substr(0, room.rfind(L'\\')));
  RemovePath(room.substr(0, room.rfind(L'\\', room.rfind(L'\\') - 1)));
}

Process StartProgram(const std::wstring& program) { return Process::Start(program); }

Process StartStandIn(const std::wstring& exeName) {
  CreateDirectoryW(kStandInFolder, nullptr);
  const std::wstring copy = std::wstring(kStandInFolder) + L"\\" + exeName;
  CopyFileW(StandInPath().c_str(), copy.c_str(), FALSE);
  return Process::Start(copy);
}

bool CrashReported() {
  bool found = false;
  ForEachProcessNamed({L"winedbg.exe"}, [&found](DWORD) { found = true; });
  return found;
}

std::wstring RoomStatePath() {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
  return std::wstring(appData) + L"\\webcast_mate\\WBStore\\roomStore.json";
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->processId) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, int timeoutMs) {
  MessageBoxSeen box;
  WaitFor(
      [&] {
        for (HWND window : TopLevelWindowsOf(processId)) {
          wchar_t className[64] = {};
          GetClassNameW(window, className, 64);
          if (lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window)) {
            box.window = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  if (!box.window) return std::nullopt;
  box.caption = TextOf(box.window);
  box.text = TextOf(GetDlgItem(box.window, 0xFFFF));
  return box;
}

void PressOk(const MessageBoxSeen& box) { PostMessageW(box.window, WM_COMMAND, IDOK, 0); }

HWND FindStartWindow(DWORD processId) {
  const std::wstring title = Wide(ui::DesignOf(ui::WindowId::Start).title);
  for (HWND window : TopLevelWindowsOf(processId))
    if (TextOf(window) == title) return window;
  return nullptr;
}

HWND FindPanel(DWORD processId) {
  const ui::WindowDesign& design = ui::DesignOf(ui::WindowId::Panel);
  for (HWND window : TopLevelWindowsOf(processId)) {
    const RECT rect = WindowRectOf(window);
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == 0 && rect.right - rect.left == design.width &&
        rect.bottom - rect.top == design.height)
      return window;
  }
  return nullptr;
}

HWND FindControl(HWND window, ui::ControlId control) {
  const ui::ControlDesign& design = ui::DesignOf(control);
  RECT expected{design.left, design.top, design.left + design.width, design.top + design.height};
  if (design.parent != ui::kOnWindow) {
    const ui::ControlDesign& parent = ui::DesignOf(ui::ControlId{control.window, static_cast<std::uint8_t>(design.parent)});
    OffsetRect(&expected, parent.left, parent.top);
  }
  struct Search {
    HWND top;
    RECT expected;
    HWND found;
  } search{window, expected, nullptr};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, s->top, reinterpret_cast<POINT*>(&rect), 2);
        if (EqualRect(&rect, &s->expected)) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TextOf(HWND window) {
  wchar_t text[4096] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

std::vector<std::wstring> ListLines(HWND listBox) {
  std::vector<std::wstring> lines;
  const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t line[1024] = {};
    SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
    lines.emplace_back(line);
  }
  return lines;
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

void ClickButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void ClickWithMouse(HWND control) {
  RECT client;
  GetClientRect(control, &client);
  const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
  PostMessageW(control, WM_MOUSEMOVE, 0, middle);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostMessageW(control, WM_LBUTTONUP, 0, middle);
}

void PressKey(HWND window, UINT virtualKey) {
  PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

COLORREF PixelAt(POINT screenPoint) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, screenPoint.x, screenPoint.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

std::wstring SaveScreenshot(const std::wstring& name, const RECT* part) {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (part) IntersectRect(&area, &area, part);
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);

  CreateDirectoryW(OutputFolder().c_str(), nullptr);
  const std::wstring path = OutputFolder() + L"\\" + name + L".png";
  if (FILE* file = _wfopen(path.c_str(), L"wb")) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pngInfo = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, pngInfo, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, pngInfo);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    for (int y = 0; y < height; ++y) png_write_row(png, static_cast<png_bytep>(bits) + static_cast<std::size_t>(y) * width * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &pngInfo);
    fclose(file);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return path;
}

std::vector<Process> StartCompanion() {
  std::vector<Process> companion;
  companion.push_back(StartStandIn(L"\u76F4\u64AD\u4F34\u4FA3.exe"));
  companion.push_back(StartStandIn(L"mate-ai.exe"));
  companion.push_back(StartStandIn(L"MediaSDK_Server.exe"));
  WaitFor([] { return FindCompanionWindow() != nullptr; }, 10000);
  return companion;
}

ProgramOnPanel StartToPanel(const std::string& savedGame) {
  WriteFileBytes(L"C:\\CHZS.txt", "");
  if (!savedGame.empty()) WriteFileBytes(L"C:\\yxjc.ini", "[id]\r\nid2=" + savedGame + "\r\n");
  ProgramOnPanel run{StartProgram(), nullptr};
  HWND start = nullptr;
  if (!WaitFor([&] { return (start = FindStartWindow(run.program.Id())) && IsWindowVisible(start); }, 20000)) return run;
  ClickButton(FindControl(start, ui::start::按钮1));
  WaitFor([&] { return (run.panel = FindPanel(run.program.Id())) && IsWindowVisible(run.panel); }, 10000);
  return run;
}

std::wstring StatusLine(HWND panel) { return TextOf(FindControl(panel, ui::panel::透明标签1)); }

std::vector<std::wstring> Log(HWND panel) { return ListLines(FindControl(panel, ui::panel::列表框1)); }

HWND FindCompanionWindow() { return FindWindowW(L"Chrome_WidgetWin_1", L"\u76F4\u64AD\u4F34\u4FA3"); }

namespace {
bool SendCopyData(ULONG_PTR kind, const std::string& bytes) {
  HWND companion = FindCompanionWindow();
  if (!companion) return false;
  COPYDATASTRUCT data{kind, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(companion, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                             &result) &&
         result == 1;
}
}  // namespace

bool SendCompanionCommand(const std::string& command) { return SendCopyData(1, command); }
bool SendRoomStateBytes(const std::string& bytes) { return SendCopyData(2, bytes); }

}  // namespace harness
