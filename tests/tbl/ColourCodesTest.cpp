#include "ColourCodes.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace {

void SaveSeed(const std::string& name, std::u16string_view text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    SaveFuzzSeed("ColourCodesFuzz", name, bytes);
}

}  // namespace

TEST(ColourCodes, RedTokenBecomesTheGamesCodeAndBack) {
    SaveSeed("red-fire", u"\\red;Fire");
    const std::u16string game = ConvertColourCodes(u"\\red;Fire", ToGame);
    EXPECT_EQ(game, u"\u00FFc1Fire");
    EXPECT_EQ(ConvertColourCodes(game, ToTokens), u"\\red;Fire");
}

TEST(ColourCodes, EveryColourRowRoundTrips) {
    std::set<std::u16string> codes;
    for (size_t row = 0; row < ColourRowCount; ++row) {
        const ColourCodeRow& r = ColourCodeTable[row];
        ASSERT_EQ(r.GameCode.size(), 3u);
        EXPECT_EQ(r.GameCode.substr(0, 2), u"\u00FFc");
        EXPECT_TRUE(codes.insert(std::u16string(r.GameCode)).second) << "row " << row;
        EXPECT_NE(r.MenuText, nullptr);
        std::u16string text = u"<";
        text.append(r.Token).append(u">");
        EXPECT_EQ(ConvertColourCodes(ConvertColourCodes(text, ToGame), ToTokens), text) << "row " << row;
    }
}

TEST(ColourCodes, MatchingIsExactAndCaseSensitive) {
    SaveSeed("near-misses", u"\\Red; \\red \\re");
    for (const char16_t* text : {u"\\Red;", u"\\red", u"\\re"}) {
        EXPECT_EQ(ConvertColourCodes(text, ToGame), text);
        EXPECT_EQ(ConvertColourCodes(text, ToTokens), text);
    }
}

TEST(ColourCodes, DarkShadesDoNotTurnIntoTheirLightNamesakes) {
    EXPECT_EQ(ConvertColourCodes(u"\\dgrey;", ToGame), u"\u00FFc5");
    EXPECT_EQ(ConvertColourCodes(u"\\dgreen;", ToGame), u"\u00FFc:");
    EXPECT_EQ(ConvertColourCodes(u"\u00FFc5\u00FFc:", ToTokens), u"\\dgrey;\\dgreen;");
}

TEST(ColourCodes, LineFeedTokenBecomesLineFeedButNeverComesBack) {
    SaveSeed("line-feed", u"a\\nb");
    EXPECT_EQ(ConvertColourCodes(u"a\\nb", ToGame), u"a\nb");
    EXPECT_EQ(ConvertColourCodes(u"a\nb", ToTokens), u"a\nb");
}

TEST(ColourCodes, CarriageReturnsAreRemovedOnTheWayToTheGame) {
    SaveSeed("carriage-returns", u"one\r\ntwo\rthree");
    EXPECT_EQ(ConvertColourCodes(u"one\r\ntwo\rthree\r", ToGame), u"one\ntwothree");
    EXPECT_EQ(ConvertColourCodes(u"one\r\n", ToTokens), u"one\r\n");
}

TEST(ColourCodes, GameCodeAsRealFilesHoldItIsRecognised) {
    // The file bytes C3 BF 63 31 decode to U+00FF "c" "1": the red code.
    EXPECT_EQ(ConvertColourCodes(u"\u00FFc1", ToTokens), u"\\red;");
    // The doubly encoded form is not a code of the game.
    EXPECT_EQ(ConvertColourCodes(u"\u00C3\u00BFc1", ToTokens), u"\u00C3\u00BFc1");
}

TEST(ColourCodes, EveryOccurrenceIsReplaced) {
    SaveSeed("many", u"\\gold;x\\gold;y\\gold;");
    EXPECT_EQ(ConvertColourCodes(u"\\gold;x\\gold;y\\gold;", ToGame), u"\u00FFc4x\u00FFc4y\u00FFc4");
    EXPECT_EQ(ConvertColourCodes(u"\u00FFc4\u00FFc4", ToTokens), u"\\gold;\\gold;");
}

TEST(ColourCodes, BackslashBeforeALineFeedTokenStays) {
    EXPECT_EQ(ConvertColourCodes(u"\\\\n", ToGame), u"\\\n");
}

TEST(ColourCodes, InputIsNotChanged) {
    const std::u16string text = u"\\red;";
    ConvertColourCodes(text, ToGame);
    EXPECT_EQ(text, u"\\red;");
}

namespace {

// The conversion as the rows define it: row after row, each occurrence found by searching
// again from the start of the text after every replacement.
std::u16string ConvertRowByRow(std::u16string text, ColourDirection direction) {
    const size_t rows = direction == ToGame ? ColourCodeTable.size() : ColourRowCount;
    for (size_t row = 0; row < rows; ++row) {
        const auto& r = ColourCodeTable[row];
        const std::u16string_view pattern = direction == ToGame ? r.Token : r.GameCode;
        const std::u16string_view replacement = direction == ToGame ? r.GameCode : r.Token;
        for (size_t at = text.find(pattern); at != std::u16string::npos; at = text.find(pattern))
            text.replace(at, pattern.size(), replacement);
    }
    return text;
}

}  // namespace

TEST(ColourCodes, AgreesWithRowByRowReplacementOnMixedText) {
    // Fragments that border on each other's patterns: halves of tokens and codes, backslashes,
    // carriage returns inside tokens, code characters.
    const std::u16string fragments[] = {u"\\",  u"\\red;", u"red;", u"\\re", u"\r",   u"\n",   u"n",  u"\\n",
                                        u"\u00FF", u"c",   u"1",    u";",    u"\\dgrey;", u"\\grey;", u"\\gre",
                                        u"\u00FFc5", u"\u00FFc:", u"x",  u"\\black;", u"\u00FFc"};
    std::mt19937 random(4242);
    for (int round = 0; round < 5000; ++round) {
        std::u16string text;
        for (size_t n = random() % 12; n > 0; --n)
            text += fragments[random() % std::size(fragments)];
        for (ColourDirection direction : {ToGame, ToTokens})
            ASSERT_EQ(ConvertColourCodes(text, direction), ConvertRowByRow(text, direction));
    }
}
