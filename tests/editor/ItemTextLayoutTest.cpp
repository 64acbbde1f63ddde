#include "ItemTextLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr size_t Red = 0, Blue = 2, White = 7, Plain = PlainTextColourRow;

ItemTextLine Plainly(const char16_t* text) { return {{text, Plain}}; }

TEST(ItemTextLayout, LinesComeLastFirst) {
    EXPECT_EQ(LayOutItemText(u"A\nB\nC"), (std::vector<ItemTextLine>{Plainly(u"C"), Plainly(u"B"), Plainly(u"A")}));
}

TEST(ItemTextLayout, AFinalLineFeedGivesAnEmptyTopLine) {
    EXPECT_EQ(LayOutItemText(u"A\n"), (std::vector<ItemTextLine>{{}, Plainly(u"A")}));
    EXPECT_EQ(LayOutItemText(u""), (std::vector<ItemTextLine>{{}}));
}

TEST(ItemTextLayout, TokensSwitchTheColourOfTheTextAfterThem) {
    EXPECT_EQ(LayOutItemText(u"Plain \\red;Fire\\white; sword"),
              (std::vector<ItemTextLine>{{{u"Plain ", Plain}, {u"Fire", Red}, {u" sword", White}}}));
}

TEST(ItemTextLayout, GameCodesSwitchTheColourAsTokensDo) {
    EXPECT_EQ(LayOutItemText(u"\u00FFc3Magic \u00FFc1Red"),
              (std::vector<ItemTextLine>{{{u"Magic ", Blue}, {u"Red", Red}}}));
}

TEST(ItemTextLayout, EachLineStartsInThePlainColour) {
    EXPECT_EQ(LayOutItemText(u"\\blue;first\nsecond"),
              (std::vector<ItemTextLine>{Plainly(u"second"), {{u"first", Blue}}}));
}

TEST(ItemTextLayout, LineBreakTokensBreakAndCarriageReturnsGo) {
    EXPECT_EQ(LayOutItemText(u"one\\ntwo\r\nthree"),
              (std::vector<ItemTextLine>{Plainly(u"three"), Plainly(u"two"), Plainly(u"one")}));
}

TEST(ItemTextLayout, SimilarTokensKeepTheirOwnColours) {
    EXPECT_EQ(LayOutItemText(u"\\dgrey;a\\grey;b\\dgreen;c\\green;d"),
              (std::vector<ItemTextLine>{{{u"a", 10}, {u"b", 9}, {u"c", 11}, {u"d", 1}}}));
}

TEST(ItemTextLayout, UnknownCodesGoAndLeaveTheColour) {
    EXPECT_EQ(LayOutItemText(u"\\red;a\u00FFc<b"), (std::vector<ItemTextLine>{{{u"a", Red}, {u"b", Red}}}));
}

TEST(ItemTextLayout, TextThatOnlyLooksLikeACodeStaysText) {
    EXPECT_EQ(LayOutItemText(u"\\Red;x \u00FFc"), (std::vector<ItemTextLine>{Plainly(u"\\Red;x \u00FFc")}));
    EXPECT_EQ(LayOutItemText(u"\u00FFd1"), (std::vector<ItemTextLine>{Plainly(u"\u00FFd1")}));
}

TEST(GameTextColours, EveryColourButTheTwoWhitesIsItsOwn) {
    for (size_t a = 0; a < ColourRowCount; ++a)
        for (size_t b = a + 1; b < ColourRowCount; ++b)
            if (!(a == White && b == Plain))
                EXPECT_NE(GameTextColours[a], GameTextColours[b]) << a << " " << b;
    EXPECT_EQ(GameTextColours[White], GameTextColours[Plain]);
}

}  // namespace
