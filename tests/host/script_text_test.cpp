#include <gtest/gtest.h>

#include "script/cesu8.h"
#include "script/variant_rules.h"

using script::Cesu8ToUtf16;
using script::Utf16ToCesu8;

TEST(Cesu8, EveryUtf16TextRoundTrips) {
  const std::u16string texts[] = {u"", u"abc", u"\u00e9\u4e2d\u2400", u"\U0001F600", std::u16string(1, u'\xD800'),
                                  std::u16string(u"a\0b", 3)};
  for (const std::u16string& text : texts) EXPECT_EQ(Cesu8ToUtf16(Utf16ToCesu8(text)), text);
  EXPECT_EQ(Utf16ToCesu8(u"\U0001F600"), "\xED\xA0\xBD\xED\xB8\x80");  // one sequence per surrogate
}

TEST(Cesu8, FourByteSequencesAndBadBytesDecode) {
  EXPECT_EQ(Cesu8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(Cesu8ToUtf16("a\xFF" "b\xC0\x80" "\xE4\xB8"), u"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(VariantRules, TextsReadAsNumbersAndTruthValues) {
  EXPECT_EQ(script::NumberFromText(u" -12.5e1 "), -125);
  EXPECT_EQ(script::NumberFromText(u".5"), 0.5);
  for (const char16_t* text : {u"", u"abc", u"1x", u"0x10", u"1e", u".", u"Infinity"})
    EXPECT_FALSE(script::NumberFromText(text)) << static_cast<int>(text[0]);
  EXPECT_EQ(script::TruthFromText(u"TRUE"), true);
  EXPECT_EQ(script::TruthFromText(u"false"), false);
  EXPECT_EQ(script::TruthFromText(u"0"), false);
  EXPECT_EQ(script::TruthFromText(u"2"), true);
  EXPECT_FALSE(script::TruthFromText(u"yes"));
}
