// The picture button: normal, hover, pressed and disabled pictures; the click fires when the
// left button is released over it, after it has gone back to normal.
#include "ui/win32/control_window.h"
#include "ui/win32/custom_controls.h"
#include "ui/win32/paint.h"
#include "ui/win32/window_data.h"
#include "ui/win32/pictures.h"

namespace ui::win32 {

namespace {

Picture PictureFor(const ControlWindow& control, bool enabled) {
  const ControlDesign& design = control.design;
  Picture picture = design.normal;
  if (!enabled) picture = design.disabledPicture;
  else if (control.face == ButtonFace::Hover) picture = design.hover;
  else if (control.face == ButtonFace::Pressed) picture = design.pressed;
  return picture == Picture::None ? design.normal : picture;
}

void Paint(HWND hwnd, const ControlWindow& control) {
  BufferedPaint paint(hwnd);
  PaintBehind(hwnd, paint.dc());
  const Bitmap& bitmap = BitmapOf(PictureFor(control, IsWindowEnabled(hwnd)));
  DrawBitmap(paint.dc(), bitmap, RECT{0, 0, bitmap.width, bitmap.height});
}

void SetFace(ControlWindow& control, ButtonFace face) {
  if (control.face == face) return;
  control.face = face;
  InvalidateRect(control.hwnd, nullptr, FALSE);
}

bool IsOver(HWND hwnd, LPARAM lParam) {
  RECT client;
  GetClientRect(hwnd, &client);
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  return PtInRect(&client, point);
}

void OnMouseMove(ControlWindow& control, WPARAM keys, LPARAM lParam) {
  if (!control.trackingLeave) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control.hwnd, 0};
    control.trackingLeave = TrackMouseEvent(&track);
  }
  if (control.pressing) SetFace(control, IsOver(control.hwnd, lParam) ? ButtonFace::Pressed : ButtonFace::Normal);
  else SetFace(control, keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON) ? ButtonFace::Normal : ButtonFace::Hover);
}

void OnLeftButtonUp(ControlWindow& control, LPARAM lParam) {
  if (!control.pressing) return;
  control.pressing = false;
  ReleaseCapture();
  SetFace(control, ButtonFace::Normal);
  if (!IsOver(control.hwnd, lParam)) return;
  UpdateWindow(control.hwnd);  // the normal picture is on screen before the handler runs
  control.Report(EventKind::Click);
}

}  // namespace

HCURSOR HandCursor() { return LoadCursorA(nullptr, MAKEINTRESOURCEA(32649) /* IDC_HAND */); }

LRESULT CALLBACK PictureButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlWindow* control = AttachedData<ControlWindow>(hwnd, message, lParam);
  if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT draws everything
    case WM_PAINT: Paint(hwnd, *control); return 0;
    case WM_SETCURSOR:
      if (!control->design.handCursor || LOWORD(lParam) != HTCLIENT) break;
      SetCursor(HandCursor());
      return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(*control, wParam, lParam); return 0;
    case WM_MOUSELEAVE:
      control->trackingLeave = false;
      if (!control->pressing) SetFace(*control, ButtonFace::Normal);
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      control->pressing = true;
      SetFace(*control, ButtonFace::Pressed);
      return 0;
    case WM_LBUTTONUP: OnLeftButtonUp(*control, lParam); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) == hwnd) break;
      control->pressing = false;
      SetFace(*control, ButtonFace::Normal);
      return 0;
    case WM_ENABLE:
      control->pressing = false;
      control->face = ButtonFace::Normal;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
