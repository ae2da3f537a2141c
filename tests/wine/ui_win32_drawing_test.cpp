// What the Win32 backend puts on screen: backgrounds, pictures, label captions, colours.
#include <gmock/gmock.h>

#include <algorithm>
#include <vector>

#include "assets/resource_ids.h"
#include "tests/wine/ui_win32_fixture.h"
#include "ui/win32/pictures.h"

namespace ui_win32_test {
namespace {

using ui::WindowId;
namespace panel = ui::panel;
namespace start = ui::start;

constexpr std::uint32_t kPanelColour = 0x222222;
constexpr std::uint32_t kP2Face = 0xFF2D66;
constexpr std::uint32_t kP3Face = 0xE63257;

// How many pixels of the rectangle differ from the colour.
int PixelsUnlike(const RECT& rect, std::uint32_t colour) {
  HDC screen = GetDC(nullptr);
  const COLORREF wanted = RGB(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF);
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) count += GetPixel(screen, x, y) != wanted;
  ReleaseDC(nullptr, screen);
  return count;
}

TEST_F(Win32BackendTest, PanelIsUniformlyDarkBehindItsControls) {
  HWND hwnd = Load(WindowId::Panel);
  RECT client;
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(ScreenColour(Inside(client, 2, 2)), kPanelColour);
  EXPECT_EQ(ScreenColour(Inside(client, 287, 107)), kPanelColour);
  // The info label has no text: it shows only the panel behind it.
  EXPECT_EQ(PixelsUnlike(ScreenRect(panel::透明标签2), kPanelColour), 0);
  EXPECT_EQ(ScreenColour(Inside(ScreenRect(panel::列表框1), 50, 70)), 0x303030u);
}

TEST_F(Win32BackendTest, AWindowIsPaintedWholeWhenItAppears) {
  Build(WindowId::Panel);
  backend.ShowWindow(WindowId::Panel, ui::ShowCommand::ShowNoActivate);
  EXPECT_EQ(PaintedColour(Control(panel::透明标签2), {2, 2}), kPanelColour);
  EXPECT_EQ(PaintedColour(Control(panel::图形按钮1), {8, 20}), kP2Face);
}

TEST_F(Win32BackendTest, PictureButtonShowsTheStatePictureClippedAtItsEdges) {
  Load(WindowId::Panel);
  const RECT button = ScreenRect(panel::图形按钮1);
  const POINT face = Inside(button, 8, 20);
  MoveMouse(Inside(button, 0, -30));
  EXPECT_EQ(ScreenColour(face), kP2Face);
  // The picture's right and bottom margins lie outside the button: the face reaches its edges.
  EXPECT_EQ(ScreenColour(Inside(button, 111, 20)), kP2Face);
  EXPECT_EQ(ScreenColour(Inside(button, 50, 39)), kP2Face);
  EXPECT_EQ(ScreenColour(Inside(button, 112, 20)), kPanelColour);

  MoveMouse(Inside(button, 50, 20));
  EXPECT_EQ(ScreenColour(face), kP3Face) << "hover";
  std::uint32_t duringClick = 0;
  sink.onEvent = [&](ui::ControlId, ui::EventKind) { duringClick = PaintedColour(Control(panel::图形按钮1), {8, 20}); };
  PressLeft(Inside(button, 50, 20));
  EXPECT_EQ(ScreenColour(face), kP3Face) << "pressed";
  ReleaseLeft(Inside(button, 50, 20));
  EXPECT_EQ(duringClick, kP2Face) << "back to normal before the click's handler runs";

  backend.Disable(panel::图形按钮1);
  MoveMouse(Inside(button, 60, 22));
  Pump(50);
  EXPECT_EQ(ScreenColour(face), kP2Face) << "disabled, without a disabled picture";
}

TEST_F(Win32BackendTest, LabelCaptionIsClippedAndLeavesNoTraceWhenReplaced) {
  Load(WindowId::Panel);
  const RECT label = ScreenRect(panel::透明标签1);
  EXPECT_GT(PixelsUnlike(label, kPanelColour), 20) << "the caption is drawn";

  backend.SetText(panel::透明标签1, "检测到已开播检测到已开播检测到已开播");
  Pump(50);
  const RECT right = {label.right, label.top, label.right + 10, label.bottom};
  EXPECT_EQ(PixelsUnlike(right, kPanelColour), 0) << "cut at the label's edge";
  const RECT leftHalf = {label.left, label.top, label.left + 30, label.bottom};
  EXPECT_GT(PixelsUnlike(leftHalf, kPanelColour), 0);

  backend.SetText(panel::透明标签1, "开");
  Pump(50);
  EXPECT_EQ(PixelsUnlike(leftHalf, kPanelColour), 0) << "the old caption is gone";
}

TEST_F(Win32BackendTest, StartWindowLabelsAndButtonFaceShowOverTheButtonFaceColour) {
  Load(WindowId::Start);
  const std::uint32_t buttonFace = [] {
    const COLORREF colour = GetSysColor(COLOR_BTNFACE);
    return static_cast<std::uint32_t>(GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
  }();
  // A label inside a group box: the window's colour behind it, black text on it.
  const RECT label = ScreenRect(start::透明标签3);
  EXPECT_EQ(ScreenColour(Inside(label, 0, 0)), buttonFace);
  EXPECT_GT(PixelsUnlike(label, buttonFace), 20);
  EXPECT_EQ(PixelsUnlike(ScreenRect(start::透明标签5), buttonFace), 0);
  // The start button shows S1 centred.
  EXPECT_EQ(ScreenColour(Inside(ScreenRect(start::按钮1), 10, 20)), kP3Face);
}

std::vector<std::uint32_t> ScreenPixels(const RECT& rect) {
  std::vector<std::uint32_t> pixels;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) pixels.push_back(ScreenColour({x, y}));
  return pixels;
}

// 透明标签4 lies over the right end of 透明标签5: a long name in 透明标签5 shows there too,
// through the label above it, and leaves no trace once replaced.
TEST_F(Win32BackendTest, ALabelShowsTheLabelBelowItThroughItself) {
  Load(WindowId::Start);
  RECT strip;
  const RECT above = ScreenRect(start::透明标签4), below = ScreenRect(start::透明标签5);
  ASSERT_TRUE(IntersectRect(&strip, &above, &below));
  const std::vector<std::uint32_t> empty = ScreenPixels(strip);
  backend.SetText(start::透明标签5, "当前定向优化的游戏进程：WWWWWWWWWWWWWWWWWWWWWWWWW.exe");
  Pump(50);
  const std::vector<std::uint32_t> named = ScreenPixels(strip);
  int changed = 0;
  for (std::size_t i = 0; i < named.size(); ++i) changed += named[i] != empty[i];
  EXPECT_GT(changed, 10) << "the top rows of the name's glyphs show in the strip";
  backend.SetText(start::透明标签5, "");
  Pump(50);
  EXPECT_EQ(ScreenPixels(strip), empty);
}

// The tutorial is read, never edited nor focused: black text on white, though disabled.
TEST_F(Win32BackendTest, TheTutorialIsBlackOnWhite) {
  Load(WindowId::Start);
  EXPECT_FALSE(IsWindowEnabled(Control(start::编辑框2)));
  const RECT tutorial = ScreenRect(start::编辑框2);
  int darkest = 0xFF;
  for (std::uint32_t pixel : ScreenPixels(tutorial))
    darkest = std::min<int>(darkest, static_cast<int>(std::max({pixel >> 16, (pixel >> 8) & 0xFF, pixel & 0xFF})));
  EXPECT_LT(darkest, 0x30) << "black text, not the grey of a disabled edit box";
  EXPECT_EQ(ScreenColour(Inside(tutorial, 350, 175)), 0xFFFFFFu);
}

TEST(Pictures, DecodeWholePngsOnly) {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(CT_PICTURE_P2), MAKEINTRESOURCEA(10));
  ASSERT_TRUE(resource);
  const auto* png = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, resource)));
  const std::size_t size = SizeofResource(nullptr, resource);

  const auto picture = ui::win32::DecodePng(png, size);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 115);
  EXPECT_EQ(picture->height, 45);
  EXPECT_EQ(picture->pixels[20 * 115 + 8], 0xFF000000u | kP2Face);
  for (std::uint32_t pixel : picture->pixels) {
    const std::uint32_t alpha = pixel >> 24;
    ASSERT_LE((pixel >> 16) & 0xFF, alpha) << "premultiplied";
  }
  const unsigned char notPng[] = "not a picture";
  EXPECT_FALSE(ui::win32::DecodePng(notPng, sizeof notPng));
  EXPECT_FALSE(ui::win32::DecodePng(png, size / 2));
  EXPECT_FALSE(ui::win32::DecodePng(png, 0));
}

}  // namespace
}  // namespace ui_win32_test
