// The skin library's entry points. Attaching reads the skin data and dresses every window
// of the calling thread, those that exist and, through a CBT hook, those created later, by
// subclassing them; detaching gives every window its own procedure and look back.
#include "skin.h"

static struct {
  int attached;
  DWORD thread;
  HHOOK hook;
  SkinLook base;  // from the skin data
  int hue, saturation;
} g_skin;

static const SkinLook kBuiltInLook = {
    {RGB(0xF3, 0xF5, 0xF9), RGB(0x20, 0x24, 0x2C), RGB(0xD3, 0xD9, 0xE3), RGB(0xE6, 0x32, 0x57),
     RGB(0xFF, 0xFF, 0xFF), RGB(0xFB, 0xEA, 0xEE), RGB(0xF5, 0xD3, 0xDB), RGB(0x20, 0x24, 0x2C),
     RGB(0xC9, 0xD0, 0xDB), RGB(0xFF, 0xFF, 0xFF), RGB(0x20, 0x24, 0x2C), RGB(0xC9, 0xD0, 0xDB),
     RGB(0xE6, 0x32, 0x57), RGB(0x1F, 0x24, 0x30), RGB(0x3A, 0x41, 0x50), RGB(0xFF, 0xFF, 0xFF),
     RGB(0xE6, 0x32, 0x57)},
    4};

static LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

static int Kind(HWND window) { return (int)(INT_PTR)GetPropW(window, SKIN_PROP_KIND); }

static LRESULT CallOwn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC own = (WNDPROC)GetPropW(window, SKIN_PROP_PROC);
  if (!own) return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                           : DefWindowProcA(window, message, wParam, lParam);
  return IsWindowUnicode(window) ? CallWindowProcW(own, window, message, wParam, lParam)
                                 : CallWindowProcA(own, window, message, wParam, lParam);
}

// Windows of our own program's classes, and the standard controls and dialogs in them.
static int KindToDress(HWND window) {
  WCHAR name[64];
  if (!GetClassNameW(window, name, 64)) return 0;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (lstrcmpiW(name, L"Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) return kSkinGroupBox;
    const int plainPush = (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !(style & (BS_BITMAP | BS_ICON));
    // Drawn by its parent (WM_DRAWITEM), so only inside a dressed parent.
    return plainPush && Kind(GetParent(window)) ? kSkinPushButton : 0;
  }
  if (lstrcmpiW(name, L"Edit") == 0) return kSkinEdit;
  const int ours = (HMODULE)GetClassLongPtrW(window, GCLP_HMODULE) == GetModuleHandleW(0);
  if (!ours && lstrcmpW(name, L"#32770") != 0) return 0;
  return (style & WS_CAPTION) == WS_CAPTION ? kSkinFramed : kSkinPlain;
}

static void Redraw(HWND window) {
  RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Where the desktop window manager draws frames itself, it must leave ours to us.
static void SetSystemFrame(HWND window, int systemDrawsIt) {
  typedef HRESULT(WINAPI * SetAttribute)(HWND, DWORD, LPCVOID, DWORD);
  static SetAttribute setAttribute;
  static int looked;
  if (!looked) {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    setAttribute = dwm ? (SetAttribute)(void*)GetProcAddress(dwm, "DwmSetWindowAttribute") : 0;
    looked = 1;
  }
  const DWORD ncRenderingPolicy = 2, useWindowStyle = 0, disabled = 1;
  const DWORD policy = systemDrawsIt ? useWindowStyle : disabled;
  if (setAttribute) setAttribute(window, ncRenderingPolicy, &policy, sizeof policy);
}

static void Dress(HWND window, int kind) {
  if (!kind || Kind(window)) return;
  if (!GetPropW(window, SKIN_PROP_PROC)) {
    const int unicode = IsWindowUnicode(window);
    const LONG_PTR own = unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
    SetPropW(window, SKIN_PROP_PROC, (HANDLE)own);
    if (unicode) SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)SkinWindowProc);
    else SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)SkinWindowProc);
  }
  SetPropW(window, SKIN_PROP_KIND, (HANDLE)(INT_PTR)kind);
  if (kind == kSkinPushButton) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    SetPropW(window, SKIN_PROP_TYPE, (HANDLE)(INT_PTR)((style & BS_TYPEMASK) + 1));
    SetWindowLongW(window, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
  }
  if (kind == kSkinFramed) {
    SetPropW(window, SKIN_PROP_ACTIVE, (HANDLE)(INT_PTR)(GetActiveWindow() == window));
    SetSystemFrame(window, 0);
  }
}

// Gives the window its own look back. Its own procedure comes back too, unless something
// subclassed it after us: then our procedure stays in the chain and passes everything on.
static void Undress(HWND window) {
  const int kind = Kind(window);
  if (!kind) return;
  if (kind == kSkinFramed) SetSystemFrame(window, 1);
  const INT_PTR type = (INT_PTR)RemovePropW(window, SKIN_PROP_TYPE);
  if (type) SetWindowLongW(window, GWL_STYLE, (GetWindowLongW(window, GWL_STYLE) & ~BS_TYPEMASK) | (LONG)(type - 1));
  RemovePropW(window, SKIN_PROP_KIND);
  RemovePropW(window, SKIN_PROP_HOT);
  RemovePropW(window, SKIN_PROP_ACTIVE);
  const int unicode = IsWindowUnicode(window);
  const LONG_PTR current = unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
  if (current != (LONG_PTR)SkinWindowProc) return;
  const LONG_PTR own = (LONG_PTR)RemovePropW(window, SKIN_PROP_PROC);
  if (unicode) SetWindowLongPtrW(window, GWLP_WNDPROC, own);
  else SetWindowLongPtrA(window, GWLP_WNDPROC, own);
}

static BOOL CALLBACK DressButtonsOnly(HWND window, LPARAM unused) {
  (void)unused;
  const int kind = KindToDress(window);
  if (kind == kSkinPushButton) Dress(window, kind);
  return TRUE;
}

static BOOL CALLBACK DressAllButButtons(HWND window, LPARAM unused) {
  (void)unused;
  const int kind = KindToDress(window);
  if (kind != kSkinPushButton) Dress(window, kind);
  return TRUE;
}

static BOOL CALLBACK UndressOne(HWND window, LPARAM unused) {
  (void)unused;
  Undress(window);
  return TRUE;
}

// Runs `visit` over the thread's top-level windows and all their descendants.
typedef struct Walk {
  WNDENUMPROC visit;
} Walk;

static BOOL CALLBACK WalkTopLevel(HWND window, LPARAM walk) {
  ((const Walk*)walk)->visit(window, 0);
  EnumChildWindows(window, ((const Walk*)walk)->visit, 0);
  return TRUE;
}

static void ForEachThreadWindow(WNDENUMPROC visit) {
  Walk walk = {visit};
  EnumThreadWindows(g_skin.thread, WalkTopLevel, (LPARAM)&walk);
}

static BOOL CALLBACK RedrawTopLevel(HWND window, LPARAM unused) {
  (void)unused;
  Redraw(window);
  return TRUE;
}

static void RedrawThreadWindows(void) { EnumThreadWindows(g_skin.thread, RedrawTopLevel, 0); }

static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && g_skin.attached) {
    HWND window = (HWND)wParam;
    Dress(window, KindToDress(window));
  }
  return CallNextHookEx(g_skin.hook, code, wParam, lParam);
}

static void ApplyLook(void) {
  SkinLook look;
  SkinAdjustLook(&g_skin.base, g_skin.hue, g_skin.saturation, &look);
  SkinUseLook(&look);
}

// Tracks the mouse over a caption button while it is held, like the system's own buttons:
// the command runs when it is let go over the same button.
static void TrackCaptionButton(HWND window, int hit) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if ((hit == HTMAXBUTTON && !(style & WS_MAXIMIZEBOX)) || (hit == HTMINBUTTON && !(style & WS_MINIMIZEBOX))) return;
  const int active = (int)(INT_PTR)GetPropW(window, SKIN_PROP_ACTIVE);
  int inside = 1;
  SetCapture(window);
  SkinPaintFrame(window, active, hit);
  for (;;) {
    MSG message;
    if (GetCapture() != window) return;
    if (!GetMessageW(&message, 0, 0, 0)) {
      PostQuitMessage((int)message.wParam);
      inside = 0;
      break;
    }
    if (message.message == WM_MOUSEMOVE || message.message == WM_LBUTTONUP) {
      POINT at;
      GetCursorPos(&at);
      RECT screen;
      GetWindowRect(window, &screen);
      at.x -= screen.left;
      at.y -= screen.top;
      inside = SkinCaptionButtonAt(window, at) == hit;
      SkinPaintFrame(window, active, inside ? hit : HTNOWHERE);
      if (message.message == WM_LBUTTONUP) break;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  ReleaseCapture();
  if (!inside) return;
  const WPARAM command = hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE;
  SendMessageW(window, WM_SYSCOMMAND, command, 0);
}

static LRESULT FramedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int* handled) {
  const int active = (int)(INT_PTR)GetPropW(window, SKIN_PROP_ACTIVE);
  *handled = 1;
  switch (message) {
    case WM_NCPAINT:
      if (GetMenu(window) || (GetWindowLongW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)))
        CallOwn(window, message, wParam, lParam);
      SkinPaintFrame(window, active, HTNOWHERE);
      return 0;
    case WM_NCACTIVATE: {
      // -1: the system changes the state without painting the frame; we paint it.
      const LRESULT result = CallOwn(window, message, wParam, (LPARAM)-1);
      SetPropW(window, SKIN_PROP_ACTIVE, (HANDLE)(INT_PTR)(wParam != 0));
      SkinPaintFrame(window, wParam != 0, HTNOWHERE);
      return result;
    }
    case WM_SETTEXT:
    case WM_SETICON: {
      const LRESULT result = CallOwn(window, message, wParam, lParam);
      SkinPaintFrame(window, active, HTNOWHERE);
      return result;
    }
    case WM_NCMOUSEMOVE: {
      POINT at = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
      RECT screen;
      GetWindowRect(window, &screen);
      at.x -= screen.left;
      at.y -= screen.top;
      const int hit = SkinCaptionButtonAt(window, at);
      if (hit != (int)(INT_PTR)GetPropW(window, SKIN_PROP_HOT)) {
        SetPropW(window, SKIN_PROP_HOT, (HANDLE)(INT_PTR)hit);
        SkinPaintFrame(window, active, HTNOWHERE);
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | TME_NONCLIENT, window, 0};
        TrackMouseEvent(&track);
      }
      break;
    }
    case WM_NCMOUSELEAVE:
      SetPropW(window, SKIN_PROP_HOT, 0);
      SkinPaintFrame(window, active, HTNOWHERE);
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCLOSE || wParam == HTMINBUTTON || wParam == HTMAXBUTTON) {
        if (message == WM_NCLBUTTONDOWN) TrackCaptionButton(window, (int)wParam);
        return 0;
      }
      break;
  }
  *handled = 0;
  return 0;
}

static LRESULT ControlColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The background is the skin's; so is the text colour, unless the owner chose its own.
  HDC dc = (HDC)wParam;
  CallOwn(window, message, wParam, lParam);
  WCHAR name[16];
  const int edit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
                   (GetClassNameW((HWND)lParam, name, 16) && lstrcmpiW(name, L"Edit") == 0);
  if (GetTextColor(dc) == GetSysColor(COLOR_WINDOWTEXT))
    SetTextColor(dc, g_skinPaint.look.colour[edit ? kSkinEditText : kSkinText]);
  SetBkColor(dc, g_skinPaint.look.colour[edit ? kSkinEditFace : kSkinWindow]);
  return (LRESULT)(edit ? g_skinPaint.editFace : g_skinPaint.window);
}

static LRESULT CALLBACK SkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int kind = g_skin.attached ? Kind(window) : 0;
  if (message == WM_NCDESTROY) {
    const LRESULT result = CallOwn(window, message, wParam, lParam);
    RemovePropW(window, SKIN_PROP_PROC);
    RemovePropW(window, SKIN_PROP_KIND);
    RemovePropW(window, SKIN_PROP_TYPE);
    RemovePropW(window, SKIN_PROP_HOT);
    RemovePropW(window, SKIN_PROP_ACTIVE);
    return result;
  }
  if (!kind) return CallOwn(window, message, wParam, lParam);

  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
      return ControlColour(window, message, wParam, lParam);
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = (const DRAWITEMSTRUCT*)lParam;
      if (item->CtlType == ODT_BUTTON && Kind(item->hwndItem) == kSkinPushButton) {
        SkinPaintButton(item, (int)(INT_PTR)GetPropW(item->hwndItem, SKIN_PROP_HOT));
        return TRUE;
      }
      break;
    }
  }

  if (kind == kSkinFramed) {
    int handled;
    const LRESULT result = FramedMessage(window, message, wParam, lParam, &handled);
    if (handled) return result;
  }
  switch (kind) {
    case kSkinFramed:
    case kSkinPlain:
      if (message == WM_ERASEBKGND && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        RECT client;
        GetClientRect(window, &client);
        FillRect((HDC)wParam, &client, g_skinPaint.window);
        return 1;
      }
      break;
    case kSkinGroupBox:
      if (message == WM_ERASEBKGND) return 1;
      if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SkinPaintGroupBox(window, dc, 1);
        EndPaint(window, &paint);
        return 0;
      }
      // A transparent child asks for what lies behind it, into its own drawing.
      if (message == WM_PRINTCLIENT) {
        SkinPaintGroupBox(window, (HDC)wParam, 0);
        return 0;
      }
      if (message == WM_SETTEXT || message == WM_ENABLE || message == WM_SETFONT) {
        // The control paints these changes at once in its own look: paint over it.
        const LRESULT result = CallOwn(window, message, wParam, lParam);
        InvalidateRect(window, 0, TRUE);
        return result;
      }
      break;
    case kSkinPushButton:
      if (message == BM_SETSTYLE) {
        // A dialog moving its default button: keep drawing it ourselves.
        SetPropW(window, SKIN_PROP_TYPE, (HANDLE)(INT_PTR)((wParam & BS_TYPEMASK) + 1));
        return CallOwn(window, message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
      }
      if (message == WM_MOUSEMOVE && !GetPropW(window, SKIN_PROP_HOT)) {
        SetPropW(window, SKIN_PROP_HOT, (HANDLE)1);
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window, 0, FALSE);
      } else if (message == WM_MOUSELEAVE) {
        RemovePropW(window, SKIN_PROP_HOT);
        InvalidateRect(window, 0, FALSE);
      }
      break;
    case kSkinEdit:
      if (message == WM_NCPAINT) {
        const LRESULT result = CallOwn(window, message, wParam, lParam);
        SkinPaintEditFrame(window);
        return result;
      }
      if (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE) {
        const LRESULT result = CallOwn(window, message, wParam, lParam);
        RedrawWindow(window, 0, 0, RDW_FRAME | RDW_INVALIDATE);
        return result;
      }
      break;
  }
  return CallOwn(window, message, wParam, lParam);
}

__declspec(dllexport) int WINAPI SkinH_AttachRes(const unsigned char* data, int length, const char* password) {
  (void)password;  // our skin data is not encrypted
  SkinLook look = kBuiltInLook;
  if (length <= 0 || !SkinReadData(data, (unsigned)length, &look)) return -1;
  if (g_skin.attached && g_skin.thread != GetCurrentThreadId()) return -1;
  g_skin.base = look;
  ApplyLook();
  if (!g_skin.attached) {
    g_skin.thread = GetCurrentThreadId();
    g_skin.hook = SetWindowsHookExW(WH_CBT, CreationHook, 0, g_skin.thread);
    if (!g_skin.hook) {
      SkinDropBrushes();
      return -1;
    }
    g_skin.attached = 1;
  }
  ForEachThreadWindow(DressAllButButtons);
  ForEachThreadWindow(DressButtonsOnly);
  RedrawThreadWindows();
  return 0;
}

__declspec(dllexport) int WINAPI SkinH_AdjustHSV(int hue, int saturation) {
  g_skin.hue = hue;
  g_skin.saturation = saturation;
  if (!g_skin.attached) return 0;
  ApplyLook();
  RedrawThreadWindows();
  return 0;
}

__declspec(dllexport) int WINAPI SkinH_Detach(void) {
  if (!g_skin.attached || g_skin.thread != GetCurrentThreadId()) return 0;
  UnhookWindowsHookEx(g_skin.hook);
  g_skin.hook = 0;
  g_skin.attached = 0;
  ForEachThreadWindow(UndressOne);
  RedrawThreadWindows();
  SkinDropBrushes();
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  (void)module;
  (void)reserved;
  if (reason == DLL_PROCESS_DETACH) SkinH_Detach();
  return TRUE;
}
