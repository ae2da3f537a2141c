#pragma once
// Painting for controls without a background of their own.
#include <windows.h>

#include <string>

namespace ui::win32 {

// Paints what lies behind the control (its parent's background and drawing) into the
// control's device context.
void PaintBehind(HWND control, HDC dc);

// WM_PAINT into an off-screen bitmap of the client area, copied to the window at the end,
// so that a control painted in layers never shows a half-painted state.
class BufferedPaint {
 public:
  explicit BufferedPaint(HWND hwnd);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;

  HDC dc() const { return memory_; }
  const RECT& client() const { return client_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC window_;
  RECT client_{};
  HDC memory_;
  HBITMAP bitmap_;
  HGDIOBJ oldBitmap_;
};

std::string WindowText(HWND hwnd);

}  // namespace ui::win32
