#include "ui/win32/paint.h"

#include <vector>

namespace ui::win32 {

namespace {

// Prints the visible siblings that lie below the control in the z-order and overlap it,
// the lowest first, each at its place: the control shows them through itself.
void PaintSiblingsBelow(HWND control, HDC dc) {
  RECT area;
  GetWindowRect(control, &area);
  std::vector<HWND> below;
  for (HWND sibling = GetWindow(control, GW_HWNDNEXT); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    RECT rect, overlap;
    if (IsWindowVisible(sibling) && GetWindowRect(sibling, &rect) && IntersectRect(&overlap, &rect, &area))
      below.push_back(sibling);
  }
  for (auto sibling = below.rbegin(); sibling != below.rend(); ++sibling) {
    RECT rect;
    GetWindowRect(*sibling, &rect);
    POINT old;
    OffsetViewportOrgEx(dc, rect.left - area.left, rect.top - area.top, &old);
    SendMessageA(*sibling, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
  }
}

}  // namespace

void PaintBehind(HWND control, HDC dc) {
  HWND parent = GetParent(control);
  POINT origin{0, 0};
  MapWindowPoints(control, parent, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  PaintSiblingsBelow(control, dc);
}

void InvalidateWithWhatLiesOverIt(HWND control) {
  HWND parent = GetParent(control);
  RECT area;
  GetWindowRect(control, &area);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
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
