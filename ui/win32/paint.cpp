#include "ui/win32/paint.h"

namespace ui::win32 {

void PaintBehind(HWND control, HDC dc) {
  HWND parent = GetParent(control);
  POINT origin{0, 0};
  MapWindowPoints(control, parent, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

BufferedPaint::BufferedPaint(HWND hwnd) : hwnd_(hwnd), window_(BeginPaint(hwnd, &paint_)) {
  GetClientRect(hwnd, &client_);
  memory_ = CreateCompatibleDC(window_);
  bitmap_ = CreateCompatibleBitmap(window_, client_.right, client_.bottom);
  oldBitmap_ = SelectObject(memory_, bitmap_);
}

BufferedPaint::~BufferedPaint() {
  BitBlt(window_, 0, 0, client_.right, client_.bottom, memory_, 0, 0, SRCCOPY);
  SelectObject(memory_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
  EndPaint(hwnd_, &paint_);
}

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)), '\0');
  if (!text.empty()) text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()) + 1)));
  return text;
}

}  // namespace ui::win32
