// A build whose embedded skin image is damaged (companion-tuner-damaged-skin): attaching the skin
// returns normally and leaves the start window as it is.
#include <gtest/gtest.h>

#include "app/skin_attachment.h"
#include "skin/embedded_skin.h"
#include "tests/wine/skin_test_window.h"

TEST(WineDamagedSkin, AttachLeavesTheWindowsAsTheyAre) {
  skin_test::TestWindow start = skin_test::CreateTestWindow(100, 100);
  const skin_test::Samples plain = skin_test::Sample(start);
  app::SkinLibrary skin{platform::SystemLoaderHost(), app::EmbeddedSkinImage(), std::nullopt};
  app::AttachSkin(skin, app::EmbeddedSkinData());
  skin_test::Pump(200);
  EXPECT_FALSE(skin.mapped);
  EXPECT_EQ(skin_test::Sample(start), plain);
  app::DetachSkin(skin);
  skin_test::TestWindow later = skin_test::CreateTestWindow(200, 480);  // windows keep working
  EXPECT_EQ(skin_test::ClientPixel(later.window, 4, 4), GetSysColor(COLOR_BTNFACE));
  skin_test::DestroyTestWindow(later);
  skin_test::DestroyTestWindow(start);
}
