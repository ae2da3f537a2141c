#include "ui/win32/controls.h"

#include <commctrl.h>

#include "ui/win32/custom_controls.h"
#include "ui/win32/gdi_objects.h"
#include "ui/win32/paint.h"
#include "ui/win32/pictures.h"

namespace ui::win32 {

namespace {

struct WindowKind {
  const char* className;
  DWORD style;
  DWORD extendedStyle;
};

WindowKind KindOf(const ControlDesign& design) {
  switch (design.kind) {
    case Kind::GroupBox:
      // Its controls are its children: tab moves into it, and it paints none of them over.
      return {"BUTTON", BS_GROUPBOX | BS_LEFT | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case Kind::Button:
      return {"BUTTON",
              BS_PUSHBUTTON | BS_MULTILINE | (design.align == Align::Centre ? DWORD{BS_CENTER} : 0) |
                  (design.face != Picture::None ? DWORD{BS_BITMAP} : 0),
              0};
    case Kind::EditBox:
      return {"EDIT", ES_LEFT | (design.multiLine ? DWORD{ES_MULTILINE} : DWORD{ES_AUTOHSCROLL}),
              design.sunkenFrame ? DWORD{WS_EX_CLIENTEDGE} : 0};
    case Kind::ListBox:
      // The design's height is kept as it is, not rounded to whole lines.
      return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | (design.singleLineFrame ? DWORD{WS_BORDER} : 0),
              0};
    case Kind::Label: return {kLabelClass, 0, 0};
    case Kind::PictureButton: return {kPictureButtonClass, 0, 0};
    case Kind::Timer: break;
  }
  return {};
}

bool ForwardsToWindow(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: return true;
  }
  return false;
}

// A disabled edit box draws its text grey, but the design's (the tutorial) is there to be
// read, never to be edited nor focused: drawn as the edit box lays it out, in the colours its
// window gives a read-only edit box.
void PaintDisabledEdit(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  RECT format;
  SendMessageA(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  const std::string text = WindowText(hwnd);
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &format, DT_EDITCONTROL | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &paint);
}

// The standard controls' additions: the hand cursor, the left-button-pressed event, a
// disabled edit box drawn in its own colours, and a group box that paints what lies behind
// it and passes its children's notifications on to the window, as if they were the window's own.
LRESULT CALLBACK StandardControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
  const ControlWindow& control = *reinterpret_cast<const ControlWindow*>(data);
  const bool groupBox = control.design.kind == Kind::GroupBox;
  if (groupBox && ForwardsToWindow(message)) return SendMessageA(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
  const bool disabledEdit = control.design.kind == Kind::EditBox && !IsWindowEnabled(hwnd);
  switch (message) {
    case WM_ERASEBKGND:
      if (disabledEdit) return 1;  // WM_PAINT fills it
      if (!groupBox) break;
      PaintBehind(hwnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT:
      if (!disabledEdit) break;
      PaintDisabledEdit(hwnd);
      return 0;
    case WM_SETCURSOR:
      if (!control.design.handCursor || LOWORD(lParam) != HTCLIENT) break;
      SetCursor(HandCursor());
      return TRUE;
    case WM_LBUTTONDOWN:
      if (!IsBound(control.design.onLeftButtonDown)) break;
      control.Report(EventKind::LeftButtonDown);
      // Then the press goes on to the control as usual, unless the handler's waits let the
      // user close the window meanwhile.
      if (!IsWindow(hwnd)) return 0;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void SetUpStandardControl(const ControlWindow& control) {
  const ControlDesign& design = control.design;
  HWND hwnd = control.hwnd;
  SetWindowSubclass(hwnd, StandardControlProc, 0, reinterpret_cast<DWORD_PTR>(&control));
  if (design.face != Picture::None)
    SendMessageA(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(OnButtonFace(design.face).handle));
  if (design.kind == Kind::ListBox && design.extraLineSpacing != 0) {
    const LRESULT lineHeight = SendMessageA(hwnd, LB_GETITEMHEIGHT, 0, 0);
    SendMessageA(hwnd, LB_SETITEMHEIGHT, 0, lineHeight + design.extraLineSpacing);
  }
}

}  // namespace

void CreateControlWindow(ControlWindow& control, HWND parent) {
  const ControlDesign& design = control.design;
  const WindowKind kind = KindOf(design);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
  if (design.tabStop) style |= WS_TABSTOP;
  if (design.disabled) style |= WS_DISABLED;
  control.hwnd = CreateWindowExA(kind.extendedStyle, kind.className, std::string(design.text).c_str(), style, design.left,
                                 design.top, design.width, design.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogIdOf(control.id))),
                                 GetModuleHandleA(nullptr), &control);
  if (!control.hwnd) return;
  SendMessageA(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(design.font)), FALSE);
  if (design.kind != Kind::Label && design.kind != Kind::PictureButton) SetUpStandardControl(control);
}

}  // namespace ui::win32
