#include "TblDocument.h"

#include "TblTestFiles.h"
#include "TblTestTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
    bool Ok = false;
    TblHeader Header;
    std::vector<std::u16string> Keys, Values;
    std::string Error;
};

Parsed Parse(const std::vector<uint8_t>& bytes, bool parseOnLoad = false) {
    Parsed p;
    TblDocument table;
    const Result loaded = table.LoadBytes(bytes, parseOnLoad);
    p.Ok = loaded.Ok;
    p.Error = loaded.Message;
    p.Header = table.Header;
    p.Keys = KeysOf(table);
    p.Values = ValuesOf(table);
    return p;
}

// Keeps a damaged file as a fuzz seed, then expects the parser to refuse it with `reason`.
void ExpectRefused(const std::string& seedName, const std::vector<uint8_t>& bytes, const std::string& reason) {
    SaveFuzzSeed("TblLoadFuzz", seedName, bytes);
    const Parsed p = Parse(bytes);
    EXPECT_FALSE(p.Ok);
    EXPECT_NE(p.Error.find(reason), std::string::npos) << p.Error;
    EXPECT_TRUE(p.Keys.empty());
    EXPECT_TRUE(p.Values.empty());
}

}  // namespace

TEST(TblParser, EmptyTableLoadsAsNoEntries) {
    RawTbl t;
    t.Header.MaxTries = 1;
    const auto bytes = t.Bytes();
    SaveFuzzSeed("TblLoadFuzz", "empty", bytes);
    const Parsed p = Parse(bytes);
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_TRUE(p.Keys.empty());
    EXPECT_EQ(p.Header.FileSize, 21u);
}

TEST(TblParser, ReadsEntriesInIndexOrderNotSlotOrder) {
    RawTbl t = TwoEntryTable("first", "one", "second", "two");
    t.Index = {1, 0};
    const auto bytes = t.Bytes();
    SaveFuzzSeed("TblLoadFuzz", "swapped-index", bytes);
    const Parsed p = Parse(bytes);
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Keys, (std::vector<std::u16string>{u"second", u"first"}));
    EXPECT_EQ(p.Values, (std::vector<std::u16string>{u"two", u"one"}));
}

TEST(TblParser, KeyBytesBecomeCharactersOfTheSameNumber) {
    const auto bytes = TwoEntryTable("caf\xE9", "x", "\xC3\xA9", "y").Bytes();
    const Parsed p = Parse(bytes);
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Keys[0], u"caf\u00E9");
    EXPECT_EQ(p.Keys[1], u"\u00C3\u00A9");
}

TEST(TblParser, ValuesAreDecodedAsUtf8) {
    const auto bytes = TwoEntryTable("a", "Gr\xC3\xBC\xC3\x9F" "e", "b", "\xED\x95\x9C \xF0\x9F\x98\x80").Bytes();
    SaveFuzzSeed("TblLoadFuzz", "utf8-values", bytes);
    const Parsed p = Parse(bytes);
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Values[0], u"Gr\u00FC\u00DFe");
    EXPECT_EQ(p.Values[1], u"\uD55C \U0001F600");
}

TEST(TblParser, InvalidUtf8BytesAreKeptAsStrayByteCharacters) {
    const auto bytes = TwoEntryTable("a", "bad \xE9 and \xC3", "b", "").Bytes();
    const Parsed p = Parse(bytes);
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Values[0], u"bad \xDCE9 and \xDCC3");
}

TEST(TblParser, RedColourCodeBecomesTokenOnlyWithParseOnLoad) {
    const auto bytes = TwoEntryTable("a", "\xC3\xBF" "c1Fire", "b", "plain").Bytes();
    SaveFuzzSeed("TblLoadFuzz", "colour-code", bytes);
    EXPECT_EQ(Parse(bytes, true).Values[0], u"\\red;Fire");
    EXPECT_EQ(Parse(bytes, false).Values[0], u"\u00FFc1Fire");
}

TEST(TblParser, EntryOfUnusedNodeIsKeptEmpty) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Nodes[1].Used = 0;
    const Parsed p = Parse(t.Bytes());
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Keys, (std::vector<std::u16string>{u"a", u""}));
    EXPECT_EQ(p.Values, (std::vector<std::u16string>{u"x", u""}));
}

TEST(TblParser, AnyNonZeroUsedByteCountsAsUsed) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Nodes[1].Used = 0x80;
    EXPECT_EQ(Parse(t.Bytes()).Keys[1], u"b");
}

TEST(TblParser, FreeSlotsOfALargerHashTableAreNeverVisited) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    TblHashNode garbage;
    garbage.KeyOffset = 0xFFFFFFF0;  // would be out of bounds if it were read
    t.Nodes.insert(t.Nodes.begin() + 1, garbage);
    t.Index = {0, 2};
    // Inserting a node moved the text area; lay the strings out again.
    t.Text.clear();
    for (uint16_t slot : {uint16_t{0}, uint16_t{2}}) {
        const std::string key = slot == 0 ? "a" : "b";
        t.Nodes[slot].KeyOffset = t.AddString(key);
        t.Nodes[slot].ValueOffset = t.AddString(slot == 0 ? "x" : "y");
    }
    const auto bytes = t.Bytes();
    SaveFuzzSeed("TblLoadFuzz", "free-slot", bytes);
    const Parsed p = Parse(bytes);
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Header.HashTableSize, 3u);
    EXPECT_EQ(p.Keys, (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(TblParser, IgnoresCrcVersionTextStartAndMaxTries) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    auto bytes = t.Bytes();
    bytes[0] ^= 0xFF;  // CRC
    bytes[8] = 7;      // version
    bytes[9] = 0x55;   // text start
    bytes[13] = 0;     // max tries
    EXPECT_TRUE(Parse(bytes).Ok);
}

TEST(TblParser, KeysLongerThanTheEditorsBufferLoadWhole) {
    const std::string longKey(5000, 'k');
    const Parsed p = Parse(TwoEntryTable(longKey, "v", "b", "").Bytes());
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Keys[0].size(), 5000u);
}

TEST(TblParser, StopsAtTheFirstZeroWhateverTheValueLengthSays) {
    RawTbl t = TwoEntryTable("a", "abc", "b", "y");
    t.Nodes[0].ValueLength = 2;
    EXPECT_EQ(Parse(t.Bytes()).Values[0], u"abc");
}

TEST(TblParserBounds, RefusesAFileShorterThanTheHeader) {
    ExpectRefused("short-header", {0x01, 0x02, 0x03}, "shorter than the 21-byte header");
}

TEST(TblParserBounds, RefusesAFileShorterThanItsHeaderSays) {
    auto bytes = TwoEntryTable("a", "x", "b", "y").Bytes();
    bytes.resize(bytes.size() - 3);
    ExpectRefused("truncated", bytes, "but the file is only");
}

TEST(TblParserBounds, RefusesAnElementCountThatDoesNotFit) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Header.ElementCount = 60000;
    t.Header.HashTableSize = 2;
    t.Header.FileSize = static_cast<uint32_t>(t.TextStart() + t.Text.size());
    ExpectRefused("count-too-large", t.Bytes(false), "the index of 60000 entries");
}

TEST(TblParserBounds, RefusesAHashTableSizeThatDoesNotFit) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Header.ElementCount = 2;
    t.Header.HashTableSize = 0xFFFFFFFF;
    t.Header.FileSize = static_cast<uint32_t>(t.TextStart() + t.Text.size());
    ExpectRefused("size-too-large", t.Bytes(false), "hash table of 4294967295 nodes");
}

TEST(TblParserBounds, RefusesANodeNumberNotBelowTheHashTableSize) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Index[1] = 2;
    ExpectRefused("node-number", t.Bytes(), "entry 1: its node number 2 is not below the hash table size 2");
}

TEST(TblParserBounds, RefusesAKeyOffsetPastTheEnd) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Nodes[1].KeyOffset = 0x1000;
    ExpectRefused("key-offset", t.Bytes(), "entry 1: the key offset 0x1000 is past the end of the file");
}

TEST(TblParserBounds, RefusesAValueOffsetAtTheEnd) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Nodes[0].ValueOffset = static_cast<uint32_t>(t.TextStart() + t.Text.size());
    ExpectRefused("value-offset", t.Bytes(), "entry 0: the value offset");
}

TEST(TblParserBounds, RefusesAValueOffsetNearFourGiBWhateverItsLengthAddsUpTo) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Nodes[0].ValueOffset = 0xFFFFFFF0;
    t.Nodes[0].ValueLength = 0x20;  // offset plus length wraps round to a zero of the header in 32 bits
    ExpectRefused("value-offset-wraps", t.Bytes(), "entry 0: the value offset 0xFFFFFFF0 is past the end");
}

TEST(TblParserBounds, RefusesAStringWithoutItsZeroByte) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Text.pop_back();  // the last value loses its terminator
    ExpectRefused("unterminated", t.Bytes(), "entry 1: the value offset");
    EXPECT_NE(Parse(t.Bytes()).Error.find("no terminating zero"), std::string::npos);
}

TEST(TblParserBounds, StringsMustEndBeforeTheHeadersFileSize) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    auto bytes = t.Bytes();
    bytes.push_back('z');
    bytes.push_back(0);
    bytes[17] = static_cast<uint8_t>(bytes[17] - 1);  // the header's file size ends before the last zero
    ExpectRefused("past-file-size", bytes, "no terminating zero");
}

TEST(TblParserBounds, HeaderIsKeptWhenTheRestIsRefused) {
    RawTbl t = TwoEntryTable("a", "x", "b", "y");
    t.Index[0] = 9;
    const Parsed p = Parse(t.Bytes());
    EXPECT_FALSE(p.Ok);
    EXPECT_EQ(p.Header.ElementCount, 2u);
}
