#include "app/skin_attachment.h"

#include <algorithm>

namespace app {

namespace {

bool EnsureMapped(SkinLibrary& skin) {
  if (!skin.mapped) skin.mapped = MapLibraryImage(skin.host, skin.image);
  return skin.mapped.has_value();
}

platform::ImageAddress EntryPoint(SkinLibrary& skin, std::string_view name) {
  return FindEntryPoint(skin.host, *skin.mapped, name);
}

}  // namespace

void AttachSkin(SkinLibrary& skin, std::span<const std::uint8_t> skinData, std::int32_t hue,
                std::int32_t saturation) {
  if (!EnsureMapped(skin)) return;
  if (const auto attach = EntryPoint(skin, "SkinH_AttachRes")) skin.host.CallSkinAttachRes(attach, skinData, nullptr);
  AdjustSkinColour(skin, std::clamp(hue, -180, 180), std::clamp(saturation, -100, 100));
}

void AdjustSkinColour(SkinLibrary& skin, std::int32_t hue, std::int32_t saturation) {
  if (!EnsureMapped(skin)) return;
  if (const auto adjust = EntryPoint(skin, "SkinH_AdjustHSV")) skin.host.CallSkinAdjustHsv(adjust, hue, saturation);
}

void DetachSkin(SkinLibrary& skin) {
  if (!skin.mapped) return;
  if (const auto detach = EntryPoint(skin, "SkinH_Detach")) skin.host.CallSkinDetach(detach);
}

}  // namespace app
