#include "ui/win32/pictures.h"

#include <png.h>

#include <array>
#include <cstring>

#include "assets/resource_ids.h"

namespace ui::win32 {

namespace {

// Far above any picture of the designs; guards the buffer size against a corrupt header.
constexpr png_uint_32 kMaxSide = 4096;
constexpr int kPictureCount = 5;

std::uint32_t Premultiplied(std::uint32_t bgra) {
  const std::uint32_t alpha = bgra >> 24;
  if (alpha == 255) return bgra;
  auto channel = [&](int shift) { return (((bgra >> shift) & 0xFF) * alpha + 127) / 255 << shift; };
  return alpha << 24 | channel(16) | channel(8) | channel(0);
}

// A premultiplied pixel composed over an opaque colour.
std::uint32_t Over(std::uint32_t pixel, COLORREF background) {
  const std::uint32_t transparency = 255 - (pixel >> 24);
  auto channel = [&](int shift, std::uint32_t under) {
    return (((pixel >> shift) & 0xFF) + (under * transparency + 127) / 255) << shift;
  };
  return 0xFF000000u | channel(16, GetRValue(background)) | channel(8, GetGValue(background)) |
         channel(0, GetBValue(background));
}

Bitmap MakeBitmap(const DecodedPicture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!handle) return {};
  std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
  return {handle, picture.width, picture.height};
}

int ResourceIdOf(Picture picture) {
  switch (picture) {
    case Picture::P1: return CT_PICTURE_P1;
    case Picture::P2: return CT_PICTURE_P2;
    case Picture::P3: return CT_PICTURE_P3;
    case Picture::S1: return CT_PICTURE_S1;
    case Picture::None: break;
  }
  return 0;
}

std::optional<DecodedPicture> LoadPicture(Picture picture) {
  const int id = ResourceIdOf(picture);
  HRSRC resource = id ? FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */) : nullptr;
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return std::nullopt;
  return DecodePng(data, SizeofResource(nullptr, resource));
}

template <typename Make>
const Bitmap& Cached(std::array<std::optional<Bitmap>, kPictureCount>& cache, Picture picture, Make make) {
  std::optional<Bitmap>& entry = cache[static_cast<int>(picture)];
  if (!entry) {
    const std::optional<DecodedPicture> decoded = LoadPicture(picture);
    entry = decoded ? make(*decoded) : Bitmap{};
  }
  return *entry;
}

}  // namespace

std::optional<DecodedPicture> DecodePng(const void* data, std::size_t size) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return std::nullopt;
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGRA;
  DecodedPicture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  picture.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  for (std::uint32_t& pixel : picture.pixels) pixel = Premultiplied(pixel);
  return picture;
}

const Bitmap& BitmapOf(Picture picture) {
  static std::array<std::optional<Bitmap>, kPictureCount> cache;
  return Cached(cache, picture, [](const DecodedPicture& decoded) { return MakeBitmap(decoded); });
}

const Bitmap& OnButtonFace(Picture picture) {
  static std::array<std::optional<Bitmap>, kPictureCount> cache;
  return Cached(cache, picture, [](DecodedPicture decoded) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (std::uint32_t& pixel : decoded.pixels) pixel = Over(pixel, face);
    return MakeBitmap(decoded);
  });
}

void DrawBitmap(HDC dc, const Bitmap& bitmap, const RECT& dest) {
  if (!bitmap.handle) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap.handle);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source, 0, 0, bitmap.width,
             bitmap.height, blend);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace ui::win32
