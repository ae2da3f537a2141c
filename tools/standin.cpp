// The stand-in for the streaming companion on a test machine. One program that behaves by
// the name it runs under:
//   直播伴侣.exe         the companion's main process: its main window (class
//                        "Chrome_WidgetWin_1", title "直播伴侣") and its room-state file
//                        below %APPDATA%, status 4 (not live) at start;
//   any other name       an idle process (the companion's helpers, a game).
// The main window takes commands as WM_COPYDATA (dwData 1: a command line in UTF-8; dwData 2:
// bytes to write as the room-state file): live, stop, status N, remove, move L T R B,
// maximise, minimise, restore, hide, show, front, exit.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

constexpr ULONG_PTR kCommandText = 1;
constexpr ULONG_PTR kRoomStateBytes = 2;

std::wstring RoomStatePath(bool createFolders) {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
  std::wstring path = std::wstring(appData) + L"\\webcast_mate";
  if (createFolders) CreateDirectoryW(path.c_str(), nullptr);
  path += L"\\WBStore";
  if (createFolders) CreateDirectoryW(path.c_str(), nullptr);
  return path + L"\\roomStore.json";
}

void WriteRoomState(const std::string& bytes) {
  HANDLE file = CreateFileW(RoomStatePath(true).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A room-state document like the companion's: nested objects, Chinese texts, the status.
std::string RoomState(const std::string& status) {
  return "{\"roomStore\":{\"roomId\":\"7301234567890\",\"title\":\"\xE4\xBB\x8A\xE6\x99\x9A\xE4\xB8\x8A\xE5\x88\x86"
         "\xE5\x86\xB2\xE5\x88\xBA\",\"status\":" +
         status +
         ",\"anchor\":{\"nickname\":\"\xE4\xB8\xBB\xE6\x92\xAD\",\"level\":12},\"tags\":[\"game\",\"pc\"]},"
         "\"settingStore\":{\"resolution\":\"1920x1080\",\"bitrate\":6000}}";
}

void Run(HWND window, const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command == "live") WriteRoomState(RoomState("2"));
  else if (command == "stop") WriteRoomState(RoomState("4"));
  else if (command == "status") {
    std::string value;
    words >> value;
    WriteRoomState(RoomState(value));
  } else if (command == "remove") DeleteFileW(RoomStatePath(false).c_str());
  else if (command == "move") {
    int l = 0, t = 0, r = 0, b = 0;
    words >> l >> t >> r >> b;
    MoveWindow(window, l, t, r - l, b - t, TRUE);
  } else if (command == "maximise") ShowWindow(window, SW_MAXIMIZE);
  else if (command == "minimise") ShowWindow(window, SW_MINIMIZE);
  else if (command == "restore") ShowWindow(window, SW_RESTORE);
  else if (command == "hide") ShowWindow(window, SW_HIDE);
  else if (command == "show") ShowWindow(window, SW_SHOW);
  else if (command == "front") SetForegroundWindow(window);
  else if (command == "exit") DestroyWindow(window);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const std::string bytes(static_cast<const char*>(data->lpData), data->cbData);
    if (data->dwData == kCommandText) Run(window, bytes);
    else if (data->dwData == kRoomStateBytes) WriteRoomState(bytes);
    return 1;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring OwnFileName() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring full(path);
  return full.substr(full.find_last_of(L"\\/") + 1);
}

int RunCompanion() {
  WriteRoomState(RoomState("4"));
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = CreateSolidBrush(RGB(0x1F, 0x1F, 0x2E));
  windowClass.lpszClassName = L"Chrome_WidgetWin_1";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"\u76F4\u64AD\u4F34\u4FA3", WS_OVERLAPPEDWINDOW, 100, 100,
                                800, 600, nullptr, nullptr, windowClass.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (OwnFileName() == L"\u76F4\u64AD\u4F34\u4FA3.exe") return RunCompanion();
  Sleep(INFINITE);  // a helper of the companion, or a game: it only has to exist
  return 0;
}
