#include "TabbedEscapes.h"

#include "TabbedTextReader.h"
#include "TabbedTextWriter.h"
#include "TxtioTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Escaped(std::string_view field) {
    std::string out;
    AppendEscaped(field, out);
    return out;
}

// Text made mostly of the characters the escapes are about, so that every mix of them occurs.
std::u16string TextOfEscapedCharacters(std::mt19937& random) {
    static constexpr char16_t Alphabet[] = u"\\\t\n\r\x1Aner \u00FF\uD55C\xDCE9";
    std::uniform_int_distribution<size_t> length(0, 10), pick(0, std::size(Alphabet) - 2);
    std::u16string text;
    for (size_t n = length(random); n > 0; --n)
        text += Alphabet[pick(random)];
    return text;
}

}  // namespace

TEST(TabbedEscapes, EscapeBackslashTabLineFeedAndCarriageReturn) {
    EXPECT_EQ(Escaped("a\\b\tc\nd\re"), "a\\\\b\\tc\\nd\\re");
    EXPECT_EQ(Escaped("two chars \\n"), "two chars \\\\n");
    EXPECT_EQ(Escaped("\xC3\xBF" "c1 plain \xFF"), "\xC3\xBF" "c1 plain \xFF");
}

TEST(TabbedEscapes, UnescapeUndoesEachEscapeAndLeavesOtherBackslashes) {
    EXPECT_EQ(Unescaped("a\\\\b\\tc\\nd\\re"), "a\\b\tc\nd\re");
    EXPECT_EQ(Unescaped("\\e"), "");
    EXPECT_EQ(Unescaped("\\\\n"), "\\n");
    EXPECT_EQ(Unescaped("\\x \\"), "\\x \\");  // not escapes: kept as written
}

TEST(TabbedEscapes, Utf8TextGivesBackAnyEntriesExactly) {
    std::mt19937 random(16);
    Strings keys, values;
    for (int i = 0; i < 500; ++i) {
        keys.push_back(TextOfEscapedCharacters(random));  // empty keys among them
        values.push_back(TextOfEscapedCharacters(random));
    }
    std::string bytes;
    ASSERT_TRUE(EncodeTabbedText(TableOf(keys, values), TabbedEncoding::Utf8, bytes).Ok);
    Strings readKeys, readValues;
    EXPECT_EQ(ParseTabbedRows(bytes, 0, 1, TabbedEncoding::Utf8, readKeys, readValues), keys.size());
    EXPECT_EQ(readKeys, keys);
    EXPECT_EQ(readValues, values);
}

TEST(TabbedEscapes, OneBytePerCharacterTextStaysUnescaped) {
    std::string bytes;
    ASSERT_TRUE(EncodeTabbedText(TableOf({u"k\\"}, {u"a\\b\nc\r"}), TabbedEncoding::OneBytePerCharacter, bytes).Ok);
    EXPECT_EQ(bytes, ExportHeaderLine + "k\\\ta\\b\\nc\r\r\n");
    Strings keys, values;
    ParseTabbedRows(ExportHeaderLine + "\\e\tx\r\nk\ta\\tb\x1Alost\r\n", 0, 1, TabbedEncoding::OneBytePerCharacter,
                    keys, values);
    EXPECT_EQ(keys, (Strings{u"\\e", u"k"}));
    EXPECT_EQ(values, (Strings{u"x", u"a\\tb"}));
}
