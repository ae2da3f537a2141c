#include <gtest/gtest.h>
#include <windows.h>

#include "platform/text.h"

TEST(WineText, SystemCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }

TEST(WineText, GbkRoundTripsThroughUtf16) {
  const std::string gbk = "直播伴侣.exe";
  EXPECT_EQ(platform::ToUtf16(gbk), u"直播伴侣.exe");
  EXPECT_EQ(platform::FromUtf16(u"直播伴侣.exe"), gbk);
  EXPECT_EQ(platform::FromUtf16(u"a\u0E01b"), "a?b");
}
