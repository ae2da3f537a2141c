// Painting dressed windows in the current look.
#include "skin.h"

SkinPaint g_skinPaint;

static void DropBrush(HBRUSH* brush) {
  if (*brush) DeleteObject(*brush);
  *brush = 0;
}

void SkinDropBrushes(void) {
  DropBrush(&g_skinPaint.window);
  DropBrush(&g_skinPaint.editFace);
  DropBrush(&g_skinPaint.buttonFace);
}

void SkinUseLook(const SkinLook* look) {
  SkinDropBrushes();
  g_skinPaint.look = *look;
  g_skinPaint.window = CreateSolidBrush(look->colour[kSkinWindow]);
  g_skinPaint.editFace = CreateSolidBrush(look->colour[kSkinEditFace]);
  g_skinPaint.buttonFace = CreateSolidBrush(look->colour[kSkinButtonFace]);
}

static COLORREF Colour(enum SkinColour which) { return g_skinPaint.look.colour[which]; }

static COLORREF Blend(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

static void FillColour(HDC dc, const RECT* rect, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, 0, 0, 0);
}

// A rounded rectangle filled with `face` and outlined with `border`.
static void RoundBox(HDC dc, const RECT* r, COLORREF face, COLORREF border, int filled) {
  const int corner = 2 * g_skinPaint.look.radius;
  HPEN pen = CreatePen(PS_SOLID, 1, border);
  HBRUSH brush = filled ? CreateSolidBrush(face) : 0;
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, filled ? (HGDIOBJ)brush : GetStockObject(NULL_BRUSH));
  RoundRect(dc, r->left, r->top, r->right, r->bottom, corner, corner);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  if (brush) DeleteObject(brush);
}

static HGDIOBJ SelectWindowFont(HDC dc, HWND window) {
  HFONT font = (HFONT)SendMessageW(window, WM_GETFONT, 0, 0);
  return SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
}

typedef struct ClipChildren {
  HWND parent;
  HDC dc;
} ClipChildren;

static BOOL CALLBACK ExcludeChild(HWND child, LPARAM clip) {
  const ClipChildren* c = (const ClipChildren*)clip;
  if (GetParent(child) != c->parent || !IsWindowVisible(child)) return TRUE;
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(0, c->parent, (POINT*)&r, 2);
  ExcludeClipRect(c->dc, r.left, r.top, r.right, r.bottom);
  return TRUE;
}

void SkinPaintGroupBox(HWND window, HDC dc, int excludeChildren) {
  RECT client;
  GetClientRect(window, &client);
  ClipChildren clip = {window, dc};
  if (excludeChildren) EnumChildWindows(window, ExcludeChild, (LPARAM)&clip);  // they paint themselves
  FillRect(dc, &client, g_skinPaint.window);

  HGDIOBJ oldFont = SelectWindowFont(dc, window);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  RECT frame = client;
  frame.top += metrics.tmHeight / 2;
  RoundBox(dc, &frame, 0, Colour(kSkinGroupFrame), 0);

  WCHAR text[256];
  const int length = GetWindowTextW(window, text, 256);
  if (length > 0) {
    SIZE size;
    GetTextExtentPoint32W(dc, text, length, &size);
    const int left = 8 + g_skinPaint.look.radius;
    RECT gap = {left - 4, 0, left + size.cx + 4, metrics.tmHeight};
    FillRect(dc, &gap, g_skinPaint.window);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(window) ? Colour(kSkinGroupText) : Blend(Colour(kSkinGroupText), Colour(kSkinWindow)));
    TextOutW(dc, left, 0, text, length);
  }
  SelectObject(dc, oldFont);
}

void SkinPaintButton(const DRAWITEMSTRUCT* item, int hot) {
  HDC dc = item->hDC;
  RECT r = item->rcItem;
  const int pressed = (item->itemState & ODS_SELECTED) != 0;
  const int disabled = (item->itemState & ODS_DISABLED) != 0;
  const int focused = (item->itemState & ODS_FOCUS) != 0;
  FillRect(dc, &r, g_skinPaint.window);
  const enum SkinColour face = disabled ? kSkinButtonFace : pressed ? kSkinButtonPressed : hot ? kSkinButtonHot : kSkinButtonFace;
  RoundBox(dc, &r, Colour(face), focused ? Colour(kSkinEditFocus) : Colour(kSkinButtonBorder), 1);

  WCHAR text[256];
  const int length = GetWindowTextW(item->hwndItem, text, 256);
  if (length == 0) return;
  HGDIOBJ oldFont = SelectWindowFont(dc, item->hwndItem);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? Blend(Colour(kSkinButtonText), Colour(kSkinButtonFace)) : Colour(kSkinButtonText));
  InflateRect(&r, -4, -2);
  if (pressed) OffsetRect(&r, 0, 1);
  UINT format = DT_CENTER | DT_NOPREFIX;
  if (GetWindowLongW(item->hwndItem, GWL_STYLE) & BS_MULTILINE) {
    RECT measured = r;
    DrawTextW(dc, text, length, &measured, format | DT_WORDBREAK | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    r.top += (r.bottom - r.top - height) / 2;
    DrawTextW(dc, text, length, &r, format | DT_WORDBREAK);
  } else {
    DrawTextW(dc, text, length, &r, format | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
}

void SkinPaintEditFrame(HWND edit) {
  const LONG style = GetWindowLongW(edit, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(edit, GWL_EXSTYLE);
  int thickness = ((exStyle & WS_EX_CLIENTEDGE) ? 2 : 0) + ((style & WS_BORDER) ? 1 : 0);
  if (thickness == 0) return;
  HDC dc = GetWindowDC(edit);
  RECT r;
  GetWindowRect(edit, &r);
  OffsetRect(&r, -r.left, -r.top);
  const COLORREF border = GetFocus() == edit ? Colour(kSkinEditFocus) : Colour(kSkinEditBorder);
  HBRUSH borderBrush = CreateSolidBrush(border);
  FrameRect(dc, &r, borderBrush);
  DeleteObject(borderBrush);
  for (InflateRect(&r, -1, -1); --thickness > 0; InflateRect(&r, -1, -1)) FrameRect(dc, &r, g_skinPaint.editFace);
  ReleaseDC(edit, dc);
}

// The title bar and its buttons, in window coordinates.
typedef struct FrameLayout {
  RECT window, client, caption;
  RECT close, maximise, minimise;
  int hasSizeButtons;
} FrameLayout;

static void LayOutFrame(HWND window, FrameLayout* f) {
  RECT screen;
  GetWindowRect(window, &screen);
  f->window.left = f->window.top = 0;
  f->window.right = screen.right - screen.left;
  f->window.bottom = screen.bottom - screen.top;
  GetClientRect(window, &f->client);
  MapWindowPoints(window, 0, (POINT*)&f->client, 2);
  OffsetRect(&f->client, -screen.left, -screen.top);

  const int border = f->client.left;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const int tool = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
  const int height = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION) - 1;
  SetRect(&f->caption, border, border, f->window.right - border, border + height);
  const int width = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE);
  f->close = f->caption;
  f->close.left = f->close.right - width;
  f->hasSizeButtons = !tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
  f->maximise = f->close;
  OffsetRect(&f->maximise, -width, 0);
  f->minimise = f->maximise;
  OffsetRect(&f->minimise, -width, 0);
  if (!(style & WS_SYSMENU)) SetRectEmpty(&f->close);
  if (!f->hasSizeButtons) SetRectEmpty(&f->maximise), SetRectEmpty(&f->minimise);
}

int SkinCaptionButtonAt(HWND window, POINT at) {
  FrameLayout f;
  LayOutFrame(window, &f);
  if (PtInRect(&f.close, at)) return HTCLOSE;
  if (PtInRect(&f.maximise, at)) return HTMAXBUTTON;
  if (PtInRect(&f.minimise, at)) return HTMINBUTTON;
  return HTNOWHERE;
}

static void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, 0);
  LineTo(dc, x2, y2);
}

static void PaintCaptionButton(HDC dc, const RECT* r, int hit, int state, int available, COLORREF background) {
  if (IsRectEmpty(r)) return;
  FillColour(dc, r, state ? Colour(kSkinCaptionButtonHot) : background);
  const COLORREF ink = available ? Colour(kSkinCaptionText) : Blend(Colour(kSkinCaptionText), background);
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  const int cx = (r->left + r->right) / 2, cy = (r->top + r->bottom) / 2, d = 5;
  if (hit == HTCLOSE) {
    Line(dc, cx - d, cy - d, cx + d + 1, cy + d + 1);
    Line(dc, cx + d, cy - d, cx - d - 1, cy + d + 1);
  } else if (hit == HTMAXBUTTON) {
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, cx - d, cy - d, cx + d + 1, cy + d + 1);
    SelectObject(dc, oldBrush);
  } else {
    Line(dc, cx - d, cy, cx + d + 1, cy);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

static HICON SmallIcon(HWND window) {
  HICON icon = (HICON)SendMessageW(window, WM_GETICON, ICON_SMALL, 0);
  if (!icon) icon = (HICON)SendMessageW(window, WM_GETICON, ICON_SMALL2, 0);
  if (!icon) icon = (HICON)GetClassLongPtrW(window, GCLP_HICONSM);
  if (!icon) icon = (HICON)GetClassLongPtrW(window, GCLP_HICON);
  return icon;
}

void SkinPaintFrame(HWND window, int active, int pressedHit) {
  if (IsIconic(window)) return;
  FrameLayout f;
  LayOutFrame(window, &f);
  HDC dc = GetWindowDC(window);
  ExcludeClipRect(dc, f.client.left, f.client.top, f.client.right, f.client.bottom);
  const COLORREF background = Colour(active ? kSkinCaptionActive : kSkinCaptionInactive);
  FillColour(dc, &f.window, background);

  int textLeft = f.caption.left + 8;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  HICON icon = (style & WS_SYSMENU) ? SmallIcon(window) : 0;
  if (icon) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    DrawIconEx(dc, textLeft, (f.caption.top + f.caption.bottom - size) / 2, icon, size, size, 0, 0, DI_NORMAL);
    textLeft += size + 6;
  }

  WCHAR title[256];
  const int length = GetWindowTextW(window, title, 256);
  if (length > 0) {
    NONCLIENTMETRICSW metrics;
    metrics.cbSize = sizeof metrics;
    HFONT font = 0;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      metrics.lfCaptionFont.lfWeight = FW_NORMAL;
      font = CreateFontIndirectW(&metrics.lfCaptionFont);
    }
    HGDIOBJ oldFont = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    RECT text = f.caption;
    text.left = textLeft;
    text.right = (f.hasSizeButtons ? f.minimise.left : f.close.left) - 4;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, active ? Colour(kSkinCaptionText) : Blend(Colour(kSkinCaptionText), background));
    DrawTextW(dc, title, length, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if (font) DeleteObject(font);
  }

  const int hot = (int)(INT_PTR)GetPropW(window, SKIN_PROP_HOT);
  PaintCaptionButton(dc, &f.close, HTCLOSE, pressedHit == HTCLOSE || hot == HTCLOSE, 1, background);
  PaintCaptionButton(dc, &f.maximise, HTMAXBUTTON, pressedHit == HTMAXBUTTON || hot == HTMAXBUTTON,
                     (style & WS_MAXIMIZEBOX) != 0, background);
  PaintCaptionButton(dc, &f.minimise, HTMINBUTTON, pressedHit == HTMINBUTTON || hot == HTMINBUTTON,
                     (style & WS_MINIMIZEBOX) != 0, background);
  ReleaseDC(window, dc);
}
