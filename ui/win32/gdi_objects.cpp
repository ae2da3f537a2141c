#include "ui/win32/gdi_objects.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ui::win32 {

COLORREF ColorRefOf(Colour colour) {
  return RGB((colour.rgb >> 16) & 0xFF, (colour.rgb >> 8) & 0xFF, colour.rgb & 0xFF);
}

LOGFONTA LogicalFontOf(const Font& font) {
  LOGFONTA logical{};
  logical.lfHeight = -font.height;
  logical.lfWeight = FW_NORMAL;
  logical.lfCharSet = font.charset;
  logical.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logical.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logical.lfQuality = DEFAULT_QUALITY;
  logical.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::size_t length = std::min(font.face.size(), sizeof logical.lfFaceName - 1);
  std::copy_n(font.face.data(), length, logical.lfFaceName);
  return logical;
}

HFONT FontOf(const std::optional<Font>& font) {
  if (!font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  static std::vector<std::pair<Font, HFONT>> made;
  for (const auto& [key, handle] : made)
    if (key.face == font->face && key.height == font->height && key.charset == font->charset) return handle;
  const LOGFONTA logical = LogicalFontOf(*font);
  HFONT handle = CreateFontIndirectA(&logical);
  made.emplace_back(*font, handle);
  return handle;
}

HBRUSH BrushOf(Colour colour) {
  static std::vector<std::pair<std::uint32_t, HBRUSH>> made;
  for (const auto& [rgb, brush] : made)
    if (rgb == colour.rgb) return brush;
  HBRUSH brush = CreateSolidBrush(ColorRefOf(colour));
  made.emplace_back(colour.rgb, brush);
  return brush;
}

}  // namespace ui::win32
