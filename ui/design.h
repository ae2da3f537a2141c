#pragma once
// The static designs of the two windows: every control the user sees, with its place,
// texts, looks, state and event bindings.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/ids.h"

namespace ui {

enum class Kind : std::uint8_t { GroupBox, Button, PictureButton, EditBox, Label, ListBox, Timer };
enum class Picture : std::uint8_t { None, P1, P2, P3, S1 };
enum class Align : std::uint8_t { Left, Centre };

inline constexpr std::uint8_t kGb2312Charset = 134;
inline constexpr std::uint8_t kAnsiCharset = 0;
inline constexpr int kOnWindow = -1;  // parent: the window itself

// A logical font (LOGFONT): face, character height in pixels, weight 400, character set.
struct Font {
  std::string_view face;
  std::int32_t height;
  std::uint8_t charset = kGb2312Charset;
};

struct Colour {
  std::uint32_t rgb;  // 0xRRGGBB
};

struct ControlDesign {
  std::string_view name;
  Kind kind;
  int parent = kOnWindow;  // kOnWindow, or the design index of a group box of the same window
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  std::string_view text;                 // caption, initial text
  std::optional<Font> font;              // none: the system's default GUI font
  Colour textColour{0x000000};
  std::optional<Colour> backColour;      // edit box and list box background
  Align align = Align::Left;             // horizontal alignment of a label or caption
  bool verticallyCentred = false;
  bool wordWrap = false;
  bool multiLine = false;                // edit box
  bool sunkenFrame = false;              // edit box: WS_EX_CLIENTEDGE
  bool singleLineFrame = false;          // list box: WS_BORDER
  bool visible = true;
  bool disabled = false;
  bool tabStop = false;
  bool handCursor = false;
  Picture face = Picture::None;          // button with a face picture
  Picture normal = Picture::None, hover = Picture::None, pressed = Picture::None, disabledPicture = Picture::None;
  std::int32_t extraLineSpacing = 0;     // list box
  std::int32_t interval = 0;             // timer, in ms
  HandlerId onClick = HandlerId::None;
  HandlerId onTick = HandlerId::None;
  HandlerId onLeftButtonDown = HandlerId::None;
};

struct WindowDesign {
  WindowId id;
  std::int32_t width, height;            // outer size
  std::string_view title;
  bool dialogFrame;                      // WS_DLGFRAME | WS_CAPTION, fixed size; else no frame at all
  bool systemMenu, minimiseBox, maximiseBox;
  bool escCloses;
  Picture background;                    // None: the system's button-face colour
  bool visibleOnceLoaded;
  HandlerId onCreated;
  std::span<const ControlDesign> controls;
};

const WindowDesign& DesignOf(WindowId window);
const ControlDesign& DesignOf(ControlId control);

}  // namespace ui
