#include "TabbedTextReader.h"

#include "FileIo.h"
#include "TestSupport.h"
#include "TxtioTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Rows {
    Strings Keys;
    Strings Values;
};

// Parses `bytes` and keeps them as a starting point for the reader's fuzz target.
Rows Parse(const std::string& name, const std::string& bytes, size_t keyColumn = 0, size_t valueColumn = 1,
           TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter) {
    SaveFuzzSeed("TxtioReaderFuzz", name, Bytes(bytes));
    Rows rows;
    const size_t taken = ParseTabbedRows(bytes, keyColumn, valueColumn, encoding, rows.Keys, rows.Values);
    EXPECT_EQ(taken, rows.Keys.size());
    EXPECT_EQ(rows.Keys.size(), rows.Values.size());
    return rows;
}

Strings Header(const std::string& bytes, TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter) {
    return ParseTabbedHeader(bytes, encoding);
}

}  // namespace

TEST(TabbedTextHeader, OffersEveryFieldOfLineOneInOrder) {
    EXPECT_EQ(Header("String Index\tText\r\nk\tv\r\n"), (Strings{u"String Index", u"Text"}));
    EXPECT_EQ(Header("a\tb\tc"), (Strings{u"a", u"b", u"c"}));
    EXPECT_EQ(Header("\ta\t\r\n"), (Strings{u"", u"a", u""}));
}

TEST(TabbedTextHeader, LineWithoutTabIsOneCaption) {
    EXPECT_EQ(Header("Only one caption\nk\tv\n"), (Strings{u"Only one caption"}));
}

TEST(TabbedTextHeader, EmptyFileOrEmptyFirstLineIsOneEmptyCaption) {
    EXPECT_EQ(Header(""), (Strings{u""}));
    EXPECT_EQ(Header("\r\nk\tv\r\n"), (Strings{u""}));
    EXPECT_EQ(Header("\x1A" "a\tb"), (Strings{u""}));
}

TEST(TabbedTextHeader, Utf8DropsALeadingByteOrderMark) {
    EXPECT_EQ(Header("\xEF\xBB\xBFSchl\xC3\xBCssel\tText\n", TabbedEncoding::Utf8),
              (Strings{u"Schl\u00FCssel", u"Text"}));
    EXPECT_EQ(Header("\xEF\xBB\xBFKey"), (Strings{u"\u00EF\u00BB\u00BFKey"}));
}

TEST(TabbedTextRows, HeaderIsNeverData) {
    const Rows rows = Parse("header-only", "k\tv\r\n");
    EXPECT_TRUE(rows.Keys.empty());
    EXPECT_TRUE(Parse("header-no-line-end", "String Index\tText").Keys.empty());
    EXPECT_TRUE(Parse("empty", "").Keys.empty());
}

TEST(TabbedTextRows, ExportedFileGivesItsEntriesWithLineFeedsAsBackslashN) {
    const Rows rows = Parse("exported", "String Index\tText\r\nx1\tA\\nB\r\nx2\t\r\nx1\tlast\r\n");
    EXPECT_EQ(rows.Keys, (Strings{u"x1", u"x2", u"x1"}));
    EXPECT_EQ(rows.Values, (Strings{u"A\\nB", u"", u"last"}));
}

TEST(TabbedTextRows, CrLfEndsALineButACarriageReturnAloneStaysInItsField) {
    const Rows rows = Parse("carriage-returns", "h\r\na\rb\tc\rd\r\ne\tf\r\r\ng\th\r");
    EXPECT_EQ(rows.Keys, (Strings{u"a\rb", u"e", u"g"}));
    EXPECT_EQ(rows.Values, (Strings{u"c\rd", u"f\r", u"h\r"}));
}

TEST(TabbedTextRows, LastLineMayEndWithoutLineEnd) {
    EXPECT_EQ(Parse("no-final-line-end", "h\na\t1\nb\t2").Keys, (Strings{u"a", u"b"}));
}

TEST(TabbedTextRows, CtrlZEndsTheFile) {
    const Rows rows = Parse("ctrl-z", "h\na\t1\nb\t2\x1A" "c\t3\n");
    EXPECT_EQ(rows.Keys, (Strings{u"a", u"b"}));
    EXPECT_EQ(rows.Values, (Strings{u"1", u"2"}));
}

TEST(TabbedTextRows, EveryByteIsTheCharacterOfTheSameNumber) {
    const Rows rows = Parse("latin1", "h\n\xE9t\xE9\t\xFF" "c1\x80\x01\n");
    EXPECT_EQ(rows.Keys, (Strings{u"\u00E9t\u00E9"}));
    EXPECT_EQ(rows.Values, (Strings{u"\u00FFc1\u0080\u0001"}));
}

TEST(TabbedTextRows, NothingIsUnescapedOrConverted) {
    const Rows rows = Parse("escapes", "h\nk\t\\red;Fire\\n\\\\ \xC3\xBF" "c1\n");
    EXPECT_EQ(rows.Values, (Strings{u"\\red;Fire\\n\\\\ \u00C3\u00BFc1"}));
}

TEST(TabbedTextRows, TakesTheChosenColumnsOfEveryRow) {
    const std::string file = "a\tb\tc\n1\t2\t3\n4\t5\t6\n";
    Rows rows = Parse("three-columns", file, 2, 0);
    EXPECT_EQ(rows.Keys, (Strings{u"3", u"6"}));
    EXPECT_EQ(rows.Values, (Strings{u"1", u"4"}));
    rows = Parse("three-columns", file, 1, 1);
    EXPECT_EQ(rows.Keys, (Strings{u"2", u"5"}));
    EXPECT_EQ(rows.Values, rows.Keys);
}

TEST(TabbedTextRows, EmptyValueFieldIsAnEmptyValue) {
    const Rows rows = Parse("empty-values", "h\na\t\nb\t\tx\n");
    EXPECT_EQ(rows.Keys, (Strings{u"a", u"b"}));
    EXPECT_EQ(rows.Values, (Strings{u"", u""}));
}

TEST(TabbedTextRows, SkipsRowsWithoutAKeyOrWithoutTheValueField) {
    const Rows rows = Parse("unusable-rows", "h\n\tno key\nonly a key\n\n\t\nkept\tv\n\nb\tc\n", 0, 1);
    EXPECT_EQ(rows.Keys, (Strings{u"kept", u"b"}));
    EXPECT_EQ(rows.Values, (Strings{u"v", u"c"}));

    // The value column before the key column: a row missing the key field gives nothing.
    const Rows reversed = Parse("value-first", "h\nv only\nv\tk\n", 1, 0);
    EXPECT_EQ(reversed.Keys, (Strings{u"k"}));
    EXPECT_EQ(reversed.Values, (Strings{u"v"}));
}

TEST(TabbedTextRows, NoSelectedColumnMatchesNoField) {
    EXPECT_TRUE(Parse("no-column", "h\na\tb\n", NoTabbedColumn, 1).Keys.empty());
    EXPECT_TRUE(Parse("no-column", "h\na\tb\n", 0, NoTabbedColumn).Keys.empty());
}

TEST(TabbedTextRows, AppendsAfterWhatTheArraysHold) {
    Strings keys = {u"old"};
    Strings values = {u"value"};
    EXPECT_EQ(ParseTabbedRows("h\nold\tnew\n", 0, 1, TabbedEncoding::OneBytePerCharacter, keys, values), 1u);
    EXPECT_EQ(keys, (Strings{u"old", u"old"}));
    EXPECT_EQ(values, (Strings{u"value", u"new"}));
}

TEST(TabbedTextRows, Utf8DecodesTextAndKeepsStrayBytesForTheCompiler) {
    const Rows rows = Parse("utf8", "\xEF\xBB\xBFh\n\xED\x95\x9C\t\xF0\x9F\x98\x80 caf\xE9\n", 0, 1,
                            TabbedEncoding::Utf8);
    EXPECT_EQ(rows.Keys, (Strings{u"\uD55C"}));
    // A byte that is not UTF-8 is held as U+DC00 plus the byte, as the table loader holds it.
    EXPECT_EQ(rows.Values, (Strings{u"\U0001F600 caf\xDCE9"}));
}

TEST(ReadTabbedHeader, MissingFileGivesFileNotOpened) {
    ScratchDir dir;
    const auto path = dir / "missing.txt";
    Strings captions = {u"kept"};
    const Result result = ReadTabbedHeader(path.u16string(), captions);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, "File " + Utf8Path(path) + " not opened");
    EXPECT_EQ(captions, (Strings{u"kept"}));
}

namespace {

// Line 1, then rows until a CR LF straddles the end of the file's first piece, a Ctrl+Z and
// two lines after it: each way a line can be cut between two pieces.
std::string TextOverPieceBoundaries() {
    std::string text = "\xEF\xBB\xBFString Index\tText\r\n";
    for (int row = 0; text.size() < FilePieceBytes - 40; ++row)
        text += "k" + std::to_string(row) + "\tA\\nB\r\n\tno key\n";
    text += "last\t" + std::string(FilePieceBytes - 1 - text.size() - 5, 'v') + "\r\n";
    return text + "after\tthe piece\x1Agone\t1\ngone too";
}

}  // namespace

TEST(ReadTabbedRows, ReadsTheFileInPiecesAsTheParserReadsItWhole) {
    const std::string text = TextOverPieceBoundaries();
    ASSERT_EQ(text.substr(FilePieceBytes - 1, 2), "\r\n");
    ScratchDir dir;
    const auto path = dir / "in.txt";
    WriteBytes(path, Bytes(text));
    Strings captions;
    ASSERT_TRUE(ReadTabbedHeader(path.u16string(), captions).Ok);
    EXPECT_EQ(captions, ParseTabbedHeader(text, TabbedEncoding::OneBytePerCharacter));
    for (const TabbedEncoding encoding : {TabbedEncoding::OneBytePerCharacter, TabbedEncoding::Utf8}) {
        Rows whole, read;
        TabbedRowCounts wholeCounts, readCounts;
        ParseTabbedRows(text, 0, 1, encoding, whole.Keys, whole.Values, &wholeCounts);
        ASSERT_TRUE(ReadTabbedRows(path.u16string(), 0, 1, read.Keys, read.Values, encoding, &readCounts).Ok);
        EXPECT_EQ(read.Keys, whole.Keys);
        EXPECT_EQ(read.Values, whole.Values);
        EXPECT_TRUE(readCounts == wholeCounts);
    }
}

TEST(ReadTabbedRows, StopsAtTheFirstRowBeyondTheMostToTake) {
    ScratchDir dir;
    const auto path = dir / "in.txt";
    WriteBytes(path, Bytes("h\na\t1\n\nb\t2\nc\t3\n\tno key\n"));
    Strings keys, values;
    TabbedRowCounts counts;
    ASSERT_TRUE(ReadTabbedRows(path.u16string(), 0, 1, keys, values, TabbedEncoding::OneBytePerCharacter, &counts, 2).Ok);
    EXPECT_EQ(keys, (Strings{u"a", u"b"}));
    EXPECT_EQ(values, (Strings{u"1", u"2"}));
    EXPECT_TRUE(counts.BeyondMaxRows);
    EXPECT_EQ(counts.WithoutKey, 0u) << "the line after the row that stopped the reading was read";
}

TEST(ReadTabbedRows, MissingFileAddsNothing) {
    ScratchDir dir;
    Strings keys = {u"a"}, values = {u"1"};
    const Result result = ReadTabbedRows((dir / "missing.txt").u16string(), 0, 1, keys, values);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Message, "File " + Utf8Path(dir / "missing.txt") + " not opened");
    EXPECT_EQ(keys.size(), 1u);
    EXPECT_EQ(values.size(), 1u);
}
