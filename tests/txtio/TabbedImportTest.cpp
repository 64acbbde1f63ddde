#include "TabbedImport.h"

#include "TabbedTextReader.h"
#include "TabbedTextWriter.h"
#include "TblFormat.h"
#include "TestSupport.h"
#include "TxtioTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// What an exported value comes back as: its line feeds as backslash and "n".
std::u16string AsImported(const std::u16string& value) {
    std::u16string text;
    for (const char16_t c : value) {
        if (c == u'\n')
            text += u"\\n";
        else
            text += c;
    }
    return text;
}

// Random text of characters up to `highest`: never a TAB (a field separator), a Ctrl+Z (the end
// of a text-mode file) or a surrogate, and a line feed only where `lineFeeds`.
std::u16string RandomText(std::mt19937& random, char16_t highest, bool lineFeeds) {
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> character(1, highest);
    std::u16string text;
    for (int n = length(random); n > 0; --n) {
        auto c = static_cast<char16_t>(character(random));
        if (c == u'\t' || c == 0x1A || (c == u'\n' && !lineFeeds) || (c >= 0xD800 && c <= 0xDFFF))
            c = u'x';
        text += c;
    }
    return text;
}

void ExpectRoundTrip(TabbedEncoding encoding, char16_t highest, unsigned seed) {
    std::mt19937 random(seed);
    Strings keys, values;
    for (int i = 0; i < 300; ++i) {
        std::u16string key = RandomText(random, highest, false);
        keys.push_back(key.empty() ? u"k" : key);
        values.push_back(RandomText(random, highest, true));
    }
    std::string bytes;
    ASSERT_TRUE(EncodeTabbedText(TableOf(keys, values), encoding, bytes).Ok);
    EXPECT_EQ(ParseTabbedHeader(bytes, encoding), (Strings{u"String Index", u"Text"}));
    Strings readKeys, readValues;
    ParseTabbedRows(bytes, 0, 1, encoding, readKeys, readValues);
    EXPECT_EQ(readKeys, keys);
    ASSERT_EQ(readValues.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(readValues[i], AsImported(values[i])) << "entry " << i;
}

// Imports into a table of `keys` and `values`, which then hold what the table holds.
Result ImportInto(const std::u16string& path, ImportMode mode, Strings& keys, Strings& values,
                  TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter) {
    TblDocument table = TableOf(keys, values);
    const Result result = ImportTabbedText(path, 0, 1, mode, table, encoding);
    keys = KeysOf(table);
    values = ValuesOf(table);
    return result;
}

class TabbedImportFile : public testing::Test {
protected:
    std::u16string Write(const std::string& bytes) {
        WriteBytes(path_, Bytes(bytes));
        return path_.u16string();
    }

    ScratchDir dir_;
    std::filesystem::path path_ = dir_ / "in.txt";
};

}  // namespace

TEST(TabbedTextRoundTrip, OneBytePerCharacterGivesBackKeysAndValues) {
    ExpectRoundTrip(TabbedEncoding::OneBytePerCharacter, 0xFF, 1);
}

TEST(TabbedTextRoundTrip, Utf8GivesBackKeysAndValuesOfAnyCharacters) {
    ExpectRoundTrip(TabbedEncoding::Utf8, 0xFFFF, 2);
}

TEST_F(TabbedImportFile, AppendAddsEveryRowAfterTheTableEvenWhenItsKeyExists) {
    Strings keys = {u"a", u"b"}, values = {u"1", u"2"};
    const std::u16string path = Write("String Index\tText\r\nb\tnew\r\nc\t3\\n4\r\n");
    ASSERT_TRUE(ImportInto(path, ImportMode::Append, keys, values).Ok);
    EXPECT_EQ(keys, (Strings{u"a", u"b", u"b", u"c"}));
    EXPECT_EQ(values, (Strings{u"1", u"2", u"new", u"3\\n4"}));
}

TEST_F(TabbedImportFile, OverwriteMergesByKey) {
    Strings keys = {u"a", u"b", u"a"}, values = {u"1", u"2", u"3"};
    const std::u16string path = Write("h\na\tA1\nc\tC\nA\tcase\na\tA2\n");
    ASSERT_TRUE(ImportInto(path, ImportMode::Overwrite, keys, values).Ok);
    EXPECT_EQ(keys, (Strings{u"a", u"b", u"a", u"c", u"A"}));
    EXPECT_EQ(values, (Strings{u"A2", u"2", u"A2", u"C", u"case"}));
}

TEST_F(TabbedImportFile, ExportedTableOverwrittenIntoItselfChangesOnlyRepeatedKeys) {
    const Strings keys = {u"a", u"b", u"a", u"c"};
    const Strings values = {u"1", u"2", u"3", u"4"};
    ASSERT_TRUE(WriteTabbedText(path_.u16string(), TableOf(keys, values)).Ok);
    Strings merged = keys, mergedValues = values;
    ASSERT_TRUE(ImportInto(path_.u16string(), ImportMode::Overwrite, merged, mergedValues).Ok);
    EXPECT_EQ(merged, keys);
    EXPECT_EQ(mergedValues, (Strings{u"3", u"2", u"3", u"4"}));
}

TEST_F(TabbedImportFile, HeaderOnlyFileImportsNothing) {
    Strings keys = {u"a"}, values = {u"1"};
    ASSERT_TRUE(ImportInto(Write("String Index\tText"), ImportMode::Append, keys, values).Ok);
    ASSERT_TRUE(ImportInto(Write(""), ImportMode::Overwrite, keys, values).Ok);
    EXPECT_EQ(keys, (Strings{u"a"}));
    EXPECT_EQ(values, (Strings{u"1"}));
}

TEST_F(TabbedImportFile, MissingFileImportsNothingInEitherMode) {
    Strings keys = {u"a"}, values = {u"1"};
    for (const ImportMode mode : {ImportMode::Append, ImportMode::Overwrite}) {
        const Result result = ImportInto(path_.u16string(), mode, keys, values);
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Message, "File " + Utf8Path(path_) + " not opened");
    }
    EXPECT_EQ(keys, (Strings{u"a"}));
}

TEST_F(TabbedImportFile, AppendRefusesRowsThatWouldOverfillTheTable) {
    Strings keys(TblMaxEntries - 1, u"k"), values(TblMaxEntries - 1, u"v");
    const std::u16string path = Write("h\na\t1\nb\t2\n");
    const Result result = ImportInto(path, ImportMode::Append, keys, values);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("65535"), std::string::npos) << result.Message;
    EXPECT_EQ(keys.size(), TblMaxEntries - 1);
    EXPECT_EQ(values.size(), TblMaxEntries - 1);
    // Overwrite adds only one new key here, which fits.
    ASSERT_TRUE(ImportInto(Write("h\nk\t1\nb\t2\n"), ImportMode::Overwrite, keys, values).Ok);
    EXPECT_EQ(keys.size(), size_t{TblMaxEntries});
}

TEST_F(TabbedImportFile, OverwriteRefusesAFileOfMoreRowsThanATableHolds) {
    std::string text = "h\n";
    for (size_t row = 0; row <= TblMaxEntries; ++row)
        text += "k\t1\n";
    Strings keys = {u"k"}, values = {u"0"};
    const Result result = ImportInto(Write(text), ImportMode::Overwrite, keys, values);
    EXPECT_EQ(result.Message, "The file has more than 65535 rows, more than the 65535 a table holds. Nothing was imported.");
    EXPECT_EQ(values, (Strings{u"0"}));
}

TEST_F(TabbedImportFile, Utf8FileImportsItsCharacters) {
    Strings keys, values;
    const std::u16string path = Write("String Index\tText\r\nKor\t\xED\x95\x9C\xEA\xB8\x80\r\n");
    ASSERT_TRUE(ImportInto(path, ImportMode::Append, keys, values, TabbedEncoding::Utf8).Ok);
    EXPECT_EQ(values, (Strings{u"\uD55C\uAE00"}));
}
