#include "TabbedTextWriter.h"

#include "TestSupport.h"
#include "TxtioTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Encode(const Strings& keys, const Strings& values,
                   TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter) {
    std::string bytes;
    const Result result = EncodeTabbedText(TableOf(keys, values), encoding, bytes);
    EXPECT_TRUE(result.Ok) << result.Message;
    return bytes;
}


}  // namespace

TEST(TabbedTextWriter, WritesTheTwentyEightBytesOfAOneEntryTable) {
    const std::vector<uint8_t> expected = {0x53, 0x74, 0x72, 0x69, 0x6E, 0x67, 0x20, 0x49, 0x6E, 0x64,
                                           0x65, 0x78, 0x09, 0x54, 0x65, 0x78, 0x74, 0x0D, 0x0A, 0x78,
                                           0x31, 0x09, 0x41, 0x5C, 0x6E, 0x42, 0x0D, 0x0A};
    const std::string bytes = Encode({u"x1"}, {u"A\nB"});
    EXPECT_EQ(Bytes(bytes), expected);
}

TEST(TabbedTextWriter, EmptyTableIsTheNineteenByteHeaderLine) {
    const std::string bytes = Encode({}, {});
    EXPECT_EQ(bytes, ExportHeaderLine);
    EXPECT_EQ(bytes.size(), 19u);
}

TEST(TabbedTextWriter, WritesEntriesInIndexOrderEachLineEndingInCrLf) {
    EXPECT_EQ(Encode({u"b", u"a", u"b"}, {u"2", u"1", u"3"}), ExportHeaderLine + "b\t2\r\na\t1\r\nb\t3\r\n");
}

TEST(TabbedTextWriter, EscapedLineFeedAndTypedBackslashNCannotBeToldApart) {
    EXPECT_EQ(Encode({u"k", u"k"}, {u"a\nb", u"a\\nb"}), ExportHeaderLine + "k\ta\\nb\r\nk\ta\\nb\r\n");
}

TEST(TabbedTextWriter, CarriageReturnBeforeLineFeedStaysAsItsOwnByte) {
    EXPECT_EQ(Encode({u"k"}, {u"a\r\nb"}), ExportHeaderLine + "k\ta\r\\nb\r\n");
}

TEST(TabbedTextWriter, TabAndBackslashInAValueAreWrittenUnchanged) {
    EXPECT_EQ(Encode({u"k"}, {u"a\tb\\c"}), ExportHeaderLine + "k\ta\tb\\c\r\n");
}

TEST(TabbedTextWriter, KeysAreNeverEscaped) {
    // A key's line feed is written as a line end, as text mode writes it: the layout breaks.
    EXPECT_EQ(Encode({u"a\tb", u"c\nd"}, {u"1", u"2"}), ExportHeaderLine + "a\tb\t1\r\nc\r\nd\t2\r\n");
}

TEST(TabbedTextWriter, CharactersUpToU00FFAreOneByteOfTheSameNumber) {
    const std::u16string value = {0x00FF, u'c', u'1', 0x00E9, 0x0080, 0x0001};
    EXPECT_EQ(Encode({u"\u00DCber"}, {value}), ExportHeaderLine + "\xDC" "ber\t\xFF" "c1\xE9\x80\x01\r\n");
}

TEST(TabbedTextWriter, RefusesACharacterAboveU00FFNamingTheFirstSuchEntry) {
    std::string bytes = "left over";
    const Result result =
        EncodeTabbedText(TableOf({u"ok", u"Korean", u"Later"}, {u"fine", u"\uD55C\uAE00", u"\u0141"}),
                         TabbedEncoding::OneBytePerCharacter, bytes);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("Entry 1 "), std::string::npos) << result.Message;
    EXPECT_NE(result.Message.find("\"Korean\""), std::string::npos) << result.Message;
    EXPECT_NE(result.Message.find("U+D55C"), std::string::npos) << result.Message;
    EXPECT_TRUE(bytes.empty());
}

TEST(TabbedTextWriter, RefusesAKeyCharacterAboveU00FFToo) {
    std::string bytes;
    const Result result = EncodeTabbedText(TableOf({u"a", u"\u0142"}, {u"", u""}),
                                                TabbedEncoding::OneBytePerCharacter, bytes);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("Entry 1 (key \"\xC5\x82\")"), std::string::npos) << result.Message;
}

TEST(TabbedTextWriter, Utf8WritesEveryCharacterWithoutAByteOrderMark) {
    const std::string bytes =
        Encode({u"Key"}, {u"\uD55C\u00E9\n\U0001F600"}, TabbedEncoding::Utf8);
    EXPECT_EQ(bytes, ExportHeaderLine + "Key\t\xED\x95\x9C\xC3\xA9\\n\xF0\x9F\x98\x80\r\n");
}

TEST(TabbedTextWriter, Utf8GivesBackTheBytesOfAValueThatWasNotUtf8InItsTable) {
    // The loader keeps a stray byte 0xE9 as U+DCE9; the file gets the byte itself back.
    EXPECT_EQ(Encode({u"k"}, {u"caf\xDCE9"}, TabbedEncoding::Utf8), ExportHeaderLine + "k\tcaf\xE9\r\n");
}

TEST(WriteTabbedText, WritesTheEncodedBytesToTheFile) {
    ScratchDir dir;
    const auto path = dir / "out.txt";
    ASSERT_TRUE(WriteTabbedText(path.u16string(), TableOf({u"x1"}, {u"A\nB"})).Ok);
    const std::vector<uint8_t> bytes = ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), ExportHeaderLine + "x1\tA\\nB\r\n");
}

TEST(WriteTabbedText, ReplacesAnExistingFile) {
    ScratchDir dir;
    const auto path = dir / "out.txt";
    WriteBytes(path, std::vector<uint8_t>(1000, 'z'));
    ASSERT_TRUE(WriteTabbedText(path.u16string(), TableOf({}, {})).Ok);
    const std::vector<uint8_t> bytes = ReadBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), ExportHeaderLine);
}

TEST(WriteTabbedText, RefusedExportLeavesTheOldFileAndCreatesNothing) {
    ScratchDir dir;
    const auto path = dir / "out.txt";
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(path, old);
    const Result result = WriteTabbedText(path.u16string(), TableOf({u"k"}, {u"\u4E2D"}));
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(WriteTabbedText, FolderThatIsGoneGivesFileNotOpened) {
    ScratchDir dir;
    const auto path = dir / "gone" / "out.txt";
    const Result result = WriteTabbedText(path.u16string(), TableOf({u"k"}, {u"v"}));
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, "File " + Utf8Path(path) + " not opened");
    EXPECT_FALSE(std::filesystem::exists(path));
}
