// The skin library's inner parts: the look read from the skin data, and the painters.
#pragma once
#include <windows.h>

enum SkinColour {
  kSkinWindow,
  kSkinText,
  kSkinGroupFrame,
  kSkinGroupText,
  kSkinButtonFace,
  kSkinButtonHot,
  kSkinButtonPressed,
  kSkinButtonText,
  kSkinButtonBorder,
  kSkinEditFace,
  kSkinEditText,
  kSkinEditBorder,
  kSkinEditFocus,
  kSkinCaptionActive,
  kSkinCaptionInactive,
  kSkinCaptionText,
  kSkinCaptionButtonHot,
  kSkinColourCount
};

typedef struct SkinLook {
  COLORREF colour[kSkinColourCount];
  int radius;  // of button and group-box corners, in pixels
} SkinLook;

// Reads skin data (format in FORMAT.md) over the built-in look; 0 when the data is not
// skin data, leaving `look` unchanged.
int SkinReadData(const unsigned char* data, unsigned length, SkinLook* look);
// `base` with every colour's hue turned by `hue` degrees and its saturation changed by
// `saturation` percent (-100 removes it).
void SkinAdjustLook(const SkinLook* base, int hue, int saturation, SkinLook* adjusted);

// Window properties that the library keeps on the windows it dresses.
#define SKIN_PROP_PROC L"ct.skin.proc"      // the window's own procedure
#define SKIN_PROP_KIND L"ct.skin.kind"      // enum SkinKind while dressed
#define SKIN_PROP_TYPE L"ct.skin.type"      // a push button's own type, plus one
#define SKIN_PROP_HOT L"ct.skin.hot"        // the hit code under the mouse
#define SKIN_PROP_ACTIVE L"ct.skin.active"  // a framed window's caption shows active

// What a dressed window is, and so how it is painted.
enum SkinKind { kSkinPlain = 1, kSkinFramed, kSkinGroupBox, kSkinPushButton, kSkinEdit };

// The brushes of the current look, made by SkinUseLook.
typedef struct SkinPaint {
  SkinLook look;
  HBRUSH window, editFace, buttonFace;
} SkinPaint;

extern SkinPaint g_skinPaint;
void SkinUseLook(const SkinLook* look);
void SkinDropBrushes(void);

// excludeChildren: leave the controls inside to paint themselves (off when a child asks for
// what lies behind it).
void SkinPaintGroupBox(HWND window, HDC dc, int excludeChildren);
void SkinPaintButton(const DRAWITEMSTRUCT* item, int hot);
void SkinPaintEditFrame(HWND edit);
// Paints the frame and title bar of a window with a caption; `active` as WM_NCACTIVATE says.
void SkinPaintFrame(HWND window, int active, int pressedHit);
// The caption button (HTCLOSE, HTMINBUTTON, HTMAXBUTTON) at a window point, or HTNOWHERE.
int SkinCaptionButtonAt(HWND window, POINT windowPoint);
