#include <gtest/gtest.h>

#include "platform/text.h"

using platform::FromUtf16;
using platform::MultiByteToUtf16;
using platform::ToUtf16;

TEST(Text, GbkRoundTripsThroughUtf16) {
  const std::string gbk = "直播伴侣.exe";  // compiled to GBK
  ASSERT_EQ(gbk.size(), 12u);
  const std::u16string wide = ToUtf16(gbk);
  EXPECT_EQ(wide, u"直播伴侣.exe");
  EXPECT_EQ(FromUtf16(wide), gbk);
}

TEST(Text, ConversionStopsAtTheFirstZero) {
  EXPECT_EQ(ToUtf16(std::string_view("ab\0cd", 5)), u"ab");
  EXPECT_EQ(FromUtf16(std::u16string_view(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(ToUtf16(""), u"");
}

TEST(Text, CharactersWithoutGbkFormBecomeQuestionMarks) {
  EXPECT_EQ(FromUtf16(u"a\u0E01b"), "a?b");  // a Thai letter has no GBK form
}

TEST(Text, Utf8DecodesToUtf16) {
  EXPECT_EQ(MultiByteToUtf16(platform::kUtf8CodePage, "\xE7\x9B\xB4\xE6\x92\xAD"), u"直播");
}
