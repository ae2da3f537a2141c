#pragma once
// Painting for controls without a background of their own.
#include <windows.h>

#include <string>

namespace ui::win32 {

// Paints what lies behind the control into the control's device context: its parent's
// background and drawing, and the siblings below it in the z-order where they overlap it.
void PaintBehind(HWND control, HDC dc);
// Invalidates the control's area with every sibling that lies over it there: what the
// control shows is drawn by them too, where they are transparent.
void InvalidateWithWhatLiesOverIt(HWND control);

// WM_PAINT into an off-screen bitmap of the client area, copied to the window at the end,
// so that a control painted in layers never shows a half-painted state.
class BufferedPaint {
 public:
  explicit BufferedPaint(HWND hwnd);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;

  HDC dc() const { return memory_; }

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
