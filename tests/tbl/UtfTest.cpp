#include "Utf.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(Utf, DecodesEveryLengthOfSequence) {
    EXPECT_EQ(Utf8ToUtf16("A\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80"), u"A\u00E9\u4E00\U0001F600");
}

TEST(Utf, EncodesEveryLengthOfSequence) {
    EXPECT_EQ(Utf16ToUtf8(u"A\u00E9\u4E00\U0001F600"), "A\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8Length(u"A\u00E9\u4E00\U0001F600"), 10u);
}

TEST(Utf, MalformedBytesBecomeStrayByteCharacters) {
    // A lone continuation byte, a truncated sequence, an overlong form, an encoded surrogate and
    // a code point above U+10FFFF: each byte is kept on its own.
    EXPECT_EQ(Utf8ToUtf16("\x80"), u"\xDC80");
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8x"), u"\xDCE4\xDCB8x");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\xDCC0\xDCAF");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\xDCED\xDCA0\xDC80");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\xDCF4\xDC90\xDC80\xDC80");
    EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\xDCFF");
}

TEST(Utf, StrayByteCharactersAreWrittenAsTheirBytes) {
    EXPECT_EQ(Utf16ToUtf8(u"a\xDCE9z"), "a\xE9z");
}

TEST(Utf, OtherLoneSurrogatesAreWrittenAsReplacementCharacter) {
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(u"\xDC10"), "\xEF\xBF\xBD");
}

TEST(Utf, AnyBytesSurviveDecodingAndEncoding) {
    std::mt19937 random(12345);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 24, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 4 == 0 ? 0x80 + random() % 0x80 : random() % 256);
        const std::u16string text = Utf8ToUtf16(bytes);
        ASSERT_EQ(Utf16ToUtf8(text), bytes);
        ASSERT_EQ(Utf8Length(text), bytes.size());
    }
}
