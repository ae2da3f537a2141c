#include "tests/wine/skin_test_window.h"

#include <cstdio>
#include <vector>


namespace skin_test {

namespace {

constexpr wchar_t kClassName[] = L"CompanionTunerSkinTest";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterTestClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW c = {};
  c.cbSize = sizeof c;
  c.lpfnWndProc = TestWindowProc;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = kClassName;
  registered = RegisterClassExW(&c) != 0;
}

HFONT DesignFont(int pixels) {
  return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0,
                     reinterpret_cast<LPCWSTR>(u"微软雅黑"));
}

HWND Control(const char16_t* className, const char16_t* text, DWORD style, DWORD exStyle, int x, int y, int w, int h,
             HWND parent, HFONT font) {
  HWND control = CreateWindowExW(exStyle, reinterpret_cast<LPCWSTR>(className), reinterpret_cast<LPCWSTR>(text),
                                 WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

}  // namespace

TestWindow CreateTestWindow(int left, int top) {
  RegisterTestClass();
  static HFONT font12 = DesignFont(12);
  TestWindow w;
  w.window = CreateWindowExW(0, kClassName, reinterpret_cast<LPCWSTR>(u"伴侣优化助手"),
                             WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_DLGFRAME, left, top, 637,
                             323, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  w.leftGroup = Control(u"Button", u"启动", BS_GROUPBOX, 0, 8, 8, 248, 192, w.window, font12);
  w.startButton = Control(u"Button", u"启动插件", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0, 62, 117, 112, 40,
                          w.leftGroup, font12);
  w.tutorial = Control(u"Edit",
                       u"伴侣优化助手使用教程：\r\n1.先打开直播伴侣\r\n2.以管理员身份运行直播伴侣助手\r\n3.点击开播\r\n"
                       u"4.进入游戏\r\n",
                       ES_MULTILINE | ES_READONLY | WS_DISABLED, WS_EX_CLIENTEDGE, 264, 16, 360, 184, w.window, font12);
  w.rightGroup = Control(u"Button", u"定向游戏优化区", BS_GROUPBOX, 0, 16, 208, 608, 80, w.window, font12);
  w.label = Control(u"Static", u"游戏进程名：", SS_LEFT | SS_CENTERIMAGE, 0, 32, 24, 80, 24, w.rightGroup, font12);
  w.processName = Control(u"Edit", u"请输入进程名称..", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 112, 24, 160,
                          24, w.rightGroup, nullptr);
  w.saveButton = Control(u"Button", u"保 存", BS_PUSHBUTTON | WS_TABSTOP, 0, 280, 18, 86, 32, w.rightGroup, nullptr);
  ShowWindow(w.window, SW_SHOW);
  SetForegroundWindow(w.window);
  UpdateWindow(w.window);
  Pump(300);
  return w;
}

void DestroyTestWindow(TestWindow& w) {
  if (w.window) DestroyWindow(w.window);
  w = TestWindow{};
  Pump(100);
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  } while (GetTickCount() - start < ms);
}

COLORREF ClientPixel(HWND window, int x, int y) {
  POINT at = {x, y};
  ClientToScreen(window, &at);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

COLORREF FramePixel(HWND window, int x, int y) {
  RECT r;
  GetWindowRect(window, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, r.left + x, r.top + y);
  ReleaseDC(nullptr, screen);
  return colour;
}

Samples Sample(const TestWindow& w) {
  return Samples{ClientPixel(w.window, 4, 4), ClientPixel(w.window, 316, 282), ClientPixel(w.saveButton, 8, 8),
                 ClientPixel(w.window, 16 + 112, 208 + 24 + 12),
                 FramePixel(w.window, 300, GetSystemMetrics(SM_CYFIXEDFRAME) + 4)};
}

bool SaveWindowPicture(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files are
  header.biPlanes = 1;
  header.biBitCount = 24;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                       std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
  return std::fclose(out) == 0 && written;
}

}  // namespace skin_test
