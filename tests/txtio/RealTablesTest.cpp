#include "TabbedImport.h"
#include "TabbedTextWriter.h"
#include "TestSupport.h"
#include "TxtioTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {


std::vector<std::filesystem::path> RealTables() {
    std::vector<std::filesystem::path> tables;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "tbl"))
        if (entry.path().extension() == ".tbl")
            tables.push_back(entry.path());
    std::sort(tables.begin(), tables.end());
    return tables;
}

// Whether the operation succeeded; a failure's message fails the test.
bool Succeeded(const Result& result) {
    EXPECT_TRUE(result) << result.Caption << ": " << result.Message;
    return result.Ok;
}

Table Load(const std::filesystem::path& path, bool parseOnLoad) {
    TblDocument table;
    EXPECT_TRUE(Succeeded(table.Load(path.u16string(), parseOnLoad))) << path;
    return EntriesOf(table);
}

// The first entry holding a character that one byte per character cannot hold.
std::optional<size_t> FirstEntryBeyondLatin1(const Table& table) {
    auto beyond = [](const std::u16string& text) {
        return std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; });
    };
    for (size_t i = 0; i < table.Keys.size(); ++i)
        if (beyond(table.Keys[i]) || beyond(table.Values[i]))
            return i;
    return std::nullopt;
}

// Exports the table, imports the file into an empty table, compiles that and loads it again.
Table ThroughTabbedText(const Table& table, TabbedEncoding encoding, bool parseOnLoad, const ScratchDir& dir) {
    const std::u16string text = (dir / "table.txt").u16string();
    const std::u16string compiled = (dir / "table.tbl").u16string();
    const Result written = WriteTabbedText(text, TableOf(table.Keys, table.Values), encoding);
    EXPECT_TRUE(written.Ok) << written.Message;
    TblDocument imported;
    const Result read = ImportTabbedText(text, 0, 1, ImportMode::Append, imported, encoding);
    EXPECT_TRUE(read.Ok) << read.Message;
    EXPECT_TRUE(Succeeded(imported.Compile(compiled, parseOnLoad)));
    return Load(dir / "table.tbl", false);
}

// An entry without a key (an unused slot, or the last entry of one table) has no row to come
// back from in one byte per character: the import skips rows without a key.
Table WithoutEmptyKeys(const Table& table) {
    Table kept;
    for (size_t i = 0; i < table.Keys.size(); ++i) {
        if (table.Keys[i].empty())
            continue;
        kept.Keys.push_back(table.Keys[i]);
        kept.Values.push_back(table.Values[i]);
    }
    return kept;
}

void ExpectSameEntries(const Table& actual, const Table& expected, const std::filesystem::path& path) {
    ASSERT_EQ(actual.Keys.size(), expected.Keys.size()) << path;
    for (size_t i = 0; i < expected.Keys.size(); ++i) {
        ASSERT_EQ(actual.Keys[i], expected.Keys[i]) << path << " entry " << i;
        ASSERT_EQ(actual.Values[i], expected.Values[i]) << path << " entry " << i;
    }
}

}  // namespace

TEST(RealTables, OneBytePerCharacterRoundTripGivesBackEveryKeyAndValue) {
    SKIP_WITHOUT_REAL_DATA();
    int roundTrips = 0;
    for (const auto& path : RealTables()) {
        const Table original = Load(path, false);
        if (FirstEntryBeyondLatin1(original))
            continue;
        for (const bool parseOnLoad : {false, true}) {
            ScratchDir dir;
            const Table back = ThroughTabbedText(Load(path, parseOnLoad), TabbedEncoding::OneBytePerCharacter,
                                                 parseOnLoad, dir);
            ExpectSameEntries(back, WithoutEmptyKeys(original), path);
        }
        ++roundTrips;
    }
    EXPECT_GE(roundTrips, 4);
}

TEST(RealTables, OneBytePerCharacterRefusesTablesBeyondLatin1NamingTheFirstEntry) {
    SKIP_WITHOUT_REAL_DATA();
    int refused = 0;
    for (const auto& path : RealTables()) {
        const Table table = Load(path, false);
        const std::optional<size_t> first = FirstEntryBeyondLatin1(table);
        if (!first)
            continue;
        ScratchDir dir;
        const auto text = dir / "table.txt";
        const Result result = WriteTabbedText(text.u16string(), TableOf(table.Keys, table.Values));
        EXPECT_FALSE(result.Ok) << path;
        const std::string key(table.Keys[*first].begin(), table.Keys[*first].end());  // keys are ASCII
        EXPECT_NE(result.Message.find("Entry " + std::to_string(*first) + " (key \"" + key + "\")"),
                  std::string::npos)
            << result.Message;
        EXPECT_FALSE(std::filesystem::exists(text)) << path;
        ++refused;
    }
    EXPECT_GE(refused, 2);  // the Korean and the Chinese tables
}

TEST(RealTables, Utf8RoundTripGivesBackEveryKeyAndValueOfEveryTable) {
    SKIP_WITHOUT_REAL_DATA();
    for (const auto& path : RealTables()) {
        const Table original = Load(path, false);
        for (const bool parseOnLoad : {false, true}) {
            ScratchDir dir;
            const Table back = ThroughTabbedText(Load(path, parseOnLoad), TabbedEncoding::Utf8, parseOnLoad, dir);
            ExpectSameEntries(back, original, path);  // the empty key of one table included
        }
    }
}
