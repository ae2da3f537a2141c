#pragma once
// The start window's skin: the skin library, mapped from the image the program carries,
// once per process and never unmapped, and the three calls into it.
#include <cstdint>
#include <optional>
#include <span>

#include "app/library_image.h"
#include "platform/loader_host.h"

namespace app {

// Process-wide: the program keeps one for its lifetime; a test makes a fresh one.
struct SkinLibrary {
  platform::LoaderHost& host;
  std::span<const std::uint8_t> image;   // the skin library's DLL image
  std::optional<MappedLibrary> mapped;   // empty until the first skin operation maps it
};

// Maps the library if needed, attaches `skinData` and sets the colour shift, clamped to
// -180..180 degrees of hue and -100..100 percent of saturation. Without a library that maps
// and has the entry points, nothing happens: the windows keep their own look.
void AttachSkin(SkinLibrary& skin, std::span<const std::uint8_t> skinData, std::int32_t hue = 0,
                std::int32_t saturation = 0);
void AdjustSkinColour(SkinLibrary& skin, std::int32_t hue, std::int32_t saturation);
// Removes the skin if the library is mapped; the library stays mapped.
void DetachSkin(SkinLibrary& skin);

}  // namespace app
