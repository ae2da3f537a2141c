// The damaged skin image (the companion-tuner-damaged-skin variant): the skin operations do nothing.
#include <gtest/gtest.h>

#include "app/skin_attachment.h"
#include "platform/fake/fake_loader_host.h"
#include "skin/embedded_skin.h"
#include "tests/host/library_image_listing.h"

TEST(DamagedSkinImage, IsTheFirstHalfOfTheLibraryAndLeavesTheWindowsAsTheyAre) {
  const auto dll = testing_support::LoadDll(CT_SKIN_DLL);
  const auto image = app::EmbeddedSkinImage();
  ASSERT_EQ(image.size(), dll.bytes.size() / 2);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), dll.bytes.begin()));

  platform::FakeLoaderHost host;
  app::SkinLibrary skin{host, image, std::nullopt};
  app::AttachSkin(skin, app::EmbeddedSkinData());
  app::AdjustSkinColour(skin, 10, 10);
  app::DetachSkin(skin);
  EXPECT_FALSE(skin.mapped);
  EXPECT_EQ(host.reservations, 0);
  EXPECT_TRUE(host.calls.empty());
}
