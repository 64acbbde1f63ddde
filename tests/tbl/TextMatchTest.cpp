#include "TextMatch.h"

#include <gtest/gtest.h>

namespace {

TEST(TextMatch, LowerCasingMapsOnlyCapitalsAToZ) {
    EXPECT_EQ(AsciiLowerCase(u"AZaz@[`{09"), u"azaz@[`{09");
    EXPECT_EQ(AsciiLowerCase(u"\u00C9\u0130\u0391\uFF21"), u"\u00C9\u0130\u0391\uFF21");
    EXPECT_EQ(AsciiLowerCase(u""), u"");
}

TEST(TextMatch, CaseSensitiveFindsTheFirstExactOccurrence) {
    EXPECT_EQ(FindSearchText(u"the Stone stone", u"stone", false), 10);
    EXPECT_EQ(FindSearchText(u"strength", u"Str", false), -1);
    EXPECT_EQ(FindSearchText(u"abc", u"abcd", false), -1);
}

TEST(TextMatch, IgnoredCaseComparesTheTextLowered) {
    EXPECT_EQ(FindSearchText(u"Strength", u"str", true), 0);
    EXPECT_EQ(FindSearchText(u"a GOLD coin", u"gold", true), 2);
    // The search text is held lower-cased: a capital in it matches nothing.
    EXPECT_EQ(FindSearchText(u"GOLD", u"Gold", true), -1);
    EXPECT_EQ(FindSearchText(u"\u00C9tude", u"\u00E9tude", true), -1);
}

TEST(TextMatch, SearchStartsAtTheGivenPosition) {
    EXPECT_EQ(FindSearchText(u"ab ab ab", u"ab", true, 1), 3);
    EXPECT_EQ(FindSearchText(u"ab ab ab", u"ab", false, 6), 6);
    EXPECT_EQ(FindSearchText(u"ab ab ab", u"ab", false, 7), -1);
    EXPECT_EQ(FindSearchText(u"ab", u"ab", true, 9), -1);
}

TEST(TextMatch, EmptyTextOccursAtTheStart) {
    EXPECT_EQ(FindSearchText(u"anything", u"", true), 0);
    EXPECT_EQ(FindSearchText(u"anything", u"", false), 0);
    EXPECT_EQ(FindSearchText(u"", u"", true), 0);
    EXPECT_EQ(FindSearchText(u"abc", u"", true, 2), 2);
}

TEST(TextMatch, MatchNeedsTheWholeSearchTextBeforeTheEnd) {
    EXPECT_EQ(FindSearchText(u"aaab", u"aab", true), 1);
    EXPECT_EQ(FindSearchText(u"the en", u"end", true), -1);
    EXPECT_EQ(FindSearchText(u"xEND", u"end", true), 1);
}

}  // namespace
