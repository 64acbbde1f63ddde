#include "TblDocument.h"

#include "TblTestFiles.h"
#include "TblTestTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rescues the bytes as a file; `unreadable` gets the reasons.
Result RescueBytes(TblDocument& table, const std::vector<uint8_t>& bytes, std::vector<std::string>& unreadable) {
    ScratchDir dir;
    WriteBytes(dir / "damaged.tbl", bytes);
    return table.Rescue((dir / "damaged.tbl").u16string(), true, unreadable);
}

// Three entries: the second's key and the third's value point outside the file.
std::vector<uint8_t> TwoDamagedEntries() {
    RawTbl t;
    t.Index = {0, 1, 2};
    t.Nodes.resize(3);
    const char* keys[] = {"a", "b", "c"};
    const char* values[] = {"\xC3\xBF" "c1x", "y", "z"};
    for (uint16_t i = 0; i < 3; ++i) {
        t.Nodes[i].Used = 1;
        t.Nodes[i].KeyOffset = t.AddString(keys[i]);
        t.Nodes[i].ValueOffset = t.AddString(values[i]);
    }
    t.Nodes[1].KeyOffset = 0x1000;
    t.Nodes[2].ValueOffset = 0x2000;
    return t.Bytes();
}

}  // namespace

TEST(TblRescue, KeepsTheReadableEntriesInTheirPlacesAndSaysWhatWasNot) {
    TblDocument table;
    table.PathName = u"earlier.tbl";
    std::vector<std::string> unreadable;
    const std::vector<uint8_t> bytes = TwoDamagedEntries();
    SaveFuzzSeed("TblLoadFuzz", "two-damaged-entries", bytes);
    ASSERT_TRUE(RescueBytes(table, bytes, unreadable));
    EXPECT_EQ(KeysOf(table), (std::vector<std::u16string>{u"a", u"", u""}));
    EXPECT_EQ(ValuesOf(table), (std::vector<std::u16string>{u"\\red;x", u"", u""}));
    ASSERT_EQ(unreadable.size(), 2u);
    EXPECT_EQ(unreadable[0].rfind("entry 1: the key offset 0x1000 is past the end of the file", 0), 0u) << unreadable[0];
    EXPECT_EQ(unreadable[1].rfind("entry 2: the value offset 0x2000 is past the end of the file", 0), 0u)
        << unreadable[1];
    // The same words as the refusal of an open.
    TblDocument refused;
    EXPECT_NE(refused.LoadBytes(bytes, true).Message.find(unreadable[0]), std::string::npos);
}

TEST(TblRescue, RescuedTableIsUntitledAndModified) {
    TblDocument table;
    table.PathName = u"earlier.tbl";
    table.FileName = u"earlier.tbl";
    std::vector<std::string> unreadable;
    ASSERT_TRUE(RescueBytes(table, TwoDamagedEntries(), unreadable));
    EXPECT_TRUE(table.PathName.empty());
    EXPECT_EQ(table.Title(), u"Strindle - Untitled*");
    EXPECT_TRUE(table.Modified);
}

TEST(TblRescue, FileWithoutAReadableIndexIsNotRescued) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Header.ElementCount = 60000;
    t.Header.HashTableSize = 2;
    t.Header.FileSize = static_cast<uint32_t>(t.TextStart() + t.Text.size());
    TblDocument table = TableOf({u"kept?"});
    std::vector<std::string> unreadable;
    const Result rescued = RescueBytes(table, t.Bytes(false), unreadable);
    EXPECT_FALSE(rescued);
    EXPECT_NE(rescued.Message.find("the index of 60000 entries"), std::string::npos) << rescued.Message;
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_FALSE(table.Modified);
}

TEST(TblRescue, TableCutShortGivesTheEntriesInWhatIsLeft) {
    RawTbl t;
    t.Index = {0, 1, 2};
    t.Nodes.resize(3);
    const char* texts[][2] = {{"a", "x"}, {"b", "y"}, {"c", "z"}};
    for (uint16_t i = 0; i < 3; ++i) {
        t.Nodes[i].Used = 1;
        t.Nodes[i].KeyOffset = t.AddString(texts[i][0]);
        t.Nodes[i].ValueOffset = t.AddString(texts[i][1]);
    }
    std::vector<uint8_t> bytes = t.Bytes();
    bytes.resize(bytes.size() - 4);  // "c", "z" and their zeros are gone
    TblDocument refused;
    EXPECT_FALSE(refused.LoadBytes(bytes, true));

    TblDocument table;
    std::vector<std::string> unreadable;
    ASSERT_TRUE(RescueBytes(table, bytes, unreadable));
    EXPECT_EQ(KeysOf(table), (std::vector<std::u16string>{u"a", u"b", u""}));
    EXPECT_EQ(ValuesOf(table), (std::vector<std::u16string>{u"x", u"y", u""}));
    ASSERT_EQ(unreadable.size(), 1u);
    EXPECT_EQ(unreadable[0].rfind("entry 2: the key offset", 0), 0u) << unreadable[0];
}
