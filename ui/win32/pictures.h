#pragma once
// The designs' pictures: PNG resources of the program, decoded once into 32-bit bitmaps.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/design.h"

namespace ui::win32 {

// Pixels top-down, 0xAARRGGBB with the colour premultiplied by alpha (what AlphaBlend takes).
struct DecodedPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

// Decodes a PNG held in memory; nothing when it is not a PNG libpng can read.
std::optional<DecodedPicture> DecodePng(const void* data, std::size_t size);

struct Bitmap {
  HBITMAP handle = nullptr;  // null when the picture could not be loaded
  int width = 0, height = 0;
};

// The picture from the program's resources.
const Bitmap& BitmapOf(Picture picture);
// The picture composed onto the system's button-face colour where it is transparent.
const Bitmap& OnButtonFace(Picture picture);

// Draws the picture into `dest` (scaled to it), blending its transparent parts.
void DrawBitmap(HDC dc, const Bitmap& bitmap, const RECT& dest);

}  // namespace ui::win32
