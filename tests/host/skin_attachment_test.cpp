#include "app/skin_attachment.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_loader_host.h"
#include "skin/embedded_skin.h"
#include "tests/host/library_image_listing.h"

namespace {

using app::AdjustSkinColour;
using app::AttachSkin;
using app::DetachSkin;
using app::SkinLibrary;
using Call = platform::FakeLoaderHost::Call;

class SkinAttachment : public testing::Test {
 protected:
  // Where the listing says an export of the skin library lies, once mapped at `base`.
  platform::ImageAddress Export(const std::string& name) const {
    return skin_.mapped->base + skinDll_.listing.exports.at(name);
  }
  std::vector<Call> SkinCalls() const {
    std::vector<Call> calls;
    for (const Call& c : host_.calls)
      if (c.kind != Call::EntryPoint) calls.push_back(c);
    return calls;
  }

  const testing_support::FixtureDll skinDll_ = testing_support::LoadDll(CT_SKIN_DLL);
  const std::span<const std::uint8_t> data_ = app::EmbeddedSkinData();
  platform::FakeLoaderHost host_;
  SkinLibrary skin_{host_, app::EmbeddedSkinImage(), std::nullopt};
};

TEST_F(SkinAttachment, EmbedsTheSkinLibraryThatTheBuildMade) {
  EXPECT_EQ(std::vector<std::uint8_t>(app::EmbeddedSkinImage().begin(), app::EmbeddedSkinImage().end()),
            skinDll_.bytes);
  EXPECT_TRUE(std::string(data_.begin(), data_.end()).starts_with("ctskin 1\n"));
}

TEST_F(SkinAttachment, AttachMapsTheLibraryAndHandsItTheSkinDataWhole) {
  AttachSkin(skin_, data_);
  ASSERT_TRUE(skin_.mapped);
  EXPECT_TRUE(skin_.mapped->attached);
  const auto calls = SkinCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, Call::SkinAttachRes);
  EXPECT_EQ(calls[0].function, Export("SkinH_AttachRes"));
  EXPECT_EQ(calls[0].data, data_.data());
  EXPECT_EQ(calls[0].length, data_.size());
  EXPECT_EQ(calls[0].password, nullptr);
  EXPECT_EQ(calls[1].kind, Call::SkinAdjustHsv);
  EXPECT_EQ(calls[1].function, Export("SkinH_AdjustHSV"));
  EXPECT_EQ(calls[1].hue, 0);
  EXPECT_EQ(calls[1].saturation, 0);
}

TEST_F(SkinAttachment, AttachClampsHueAndSaturation) {
  const struct {
    std::int32_t hue, saturation, expectedHue, expectedSaturation;
  } cases[] = {{200, -150, 180, -100}, {-181, 101, -180, 100}, {180, -100, 180, -100}, {-7, 42, -7, 42},
               {INT32_MAX, INT32_MIN, 180, -100}};
  for (const auto& c : cases) {
    host_.calls.clear();
    AttachSkin(skin_, data_, c.hue, c.saturation);
    const auto calls = SkinCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].hue, c.expectedHue) << c.hue;
    EXPECT_EQ(calls[1].saturation, c.expectedSaturation) << c.saturation;
  }
}

TEST_F(SkinAttachment, LibraryIsMappedOnceAndStaysMappedAfterDetach) {
  AttachSkin(skin_, data_);
  AdjustSkinColour(skin_, 30, 10);
  DetachSkin(skin_);
  AttachSkin(skin_, data_);
  DetachSkin(skin_);
  EXPECT_EQ(host_.reservations, 1);
  EXPECT_TRUE(host_.IsReserved(skin_.mapped->base));
  const auto calls = SkinCalls();
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls[3].kind, Call::SkinDetach);
  EXPECT_EQ(calls[3].function, Export("SkinH_Detach"));
  EXPECT_EQ(calls[6].kind, Call::SkinDetach);
  for (const Call& c : host_.calls)
    if (c.kind == Call::EntryPoint) {
      EXPECT_EQ(c.reason, platform::kProcessAttach);  // never detached
    }
}

TEST_F(SkinAttachment, DetachBeforeAnyAttachDoesNothing) {
  DetachSkin(skin_);
  EXPECT_FALSE(skin_.mapped);
  EXPECT_EQ(host_.reservations, 0);
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(SkinAttachment, AdjustBeforeAttachMapsTheLibraryAndPassesItsValues) {
  AdjustSkinColour(skin_, 200, -150);
  ASSERT_TRUE(skin_.mapped);
  const auto calls = SkinCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, Call::SkinAdjustHsv);
  EXPECT_EQ(calls[0].hue, 200);
  EXPECT_EQ(calls[0].saturation, -150);
}

TEST_F(SkinAttachment, LibraryThatRefusesToAttachGivesNoSkin) {
  host_.entryPointResult = false;
  AttachSkin(skin_, data_);
  DetachSkin(skin_);
  EXPECT_FALSE(skin_.mapped);
  EXPECT_TRUE(SkinCalls().empty());
  EXPECT_TRUE(host_.openLibraries.empty());
}

TEST_F(SkinAttachment, LibraryWithoutTheSkinEntryPointsIsMappedButNotCalled) {
  const auto other = testing_support::LoadFixtureDll("fixture_imports_pe32plus");
  SkinLibrary stranger{host_, other.bytes, std::nullopt};
  AttachSkin(stranger, data_);
  DetachSkin(stranger);
  EXPECT_TRUE(stranger.mapped);
  EXPECT_TRUE(SkinCalls().empty());
}

}  // namespace
