#include "TblCheck.h"

#include "TblHash.h"
#include "TblTestFiles.h"
#include "TblTestTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Compiled(const std::vector<std::u16string>& keys) {
    TblBuilt built;
    std::string error;
    EXPECT_TRUE(TableOf(keys, std::vector<std::u16string>(keys.size(), u"v")).Build(TblValueForm::Exact, built, error))
        << error;
    return {built.Bytes.data(), built.Bytes.data() + built.Bytes.size()};
}

bool Mentions(const std::vector<std::string>& lines, const std::string& part) {
    for (const auto& line : lines)
        if (line.find(part) != std::string::npos)
            return true;
    return false;
}

// A two-entry table with each key's true home slot as its stored hash.
RawTbl HashedTwoEntries() {
    RawTbl t = TwoEntryTable("b", "x", "c", "y");  // homes 0 and 1 of 2 slots
    t.Nodes[0].Hash = TblKeyHash(u"b", 2);
    t.Nodes[1].Hash = TblKeyHash(u"c", 2);
    return t;
}

}  // namespace

TEST(TblCheck, CompiledTableIsSound) {
    const TblCheckResult r = CheckTbl(Compiled({u"a", u"b", u"a", u"zz", u"a"}));
    EXPECT_FALSE(r.Damaged()) << r.Problems[0];
    EXPECT_TRUE(r.Notes.empty());
    EXPECT_EQ(r.DuplicateKeys, 2u);
    EXPECT_EQ(r.UnusedNodes, 0u);
    EXPECT_EQ(r.LongestProbe + 1, r.Header.MaxTries);
}

TEST(TblCheck, WrongCrcIsDamage) {
    auto bytes = Compiled({u"a", u"b"});
    bytes.back() = 'Q';  // alter the text area, keep the header's CRC
    bytes[bytes.size() - 2] = 'Q';
    const TblCheckResult r = CheckTbl(bytes);
    EXPECT_TRUE(Mentions(r.Problems, "CRC")) << (r.Problems.empty() ? "" : r.Problems[0]);
}

TEST(TblCheck, StoredHashThatIsNotTheKeysHomeSlotIsDamage) {
    RawTbl t = HashedTwoEntries();
    t.Header.MaxTries = 1;
    EXPECT_FALSE(CheckTbl(t.Bytes()).Damaged());
    t.Nodes[1].Hash = 0;
    EXPECT_TRUE(Mentions(CheckTbl(t.Bytes()).Problems, "entry 1: the node's hash is 0"));
}

TEST(TblCheck, MaxTriesBelowTheLongestProbeIsDamageAboveItANote) {
    RawTbl t = HashedTwoEntries();
    t.Header.MaxTries = 0;
    EXPECT_TRUE(Mentions(CheckTbl(t.Bytes()).Problems, "max tries is 0"));
    t.Header.MaxTries = 5;
    const TblCheckResult r = CheckTbl(t.Bytes());
    EXPECT_FALSE(r.Damaged());
    EXPECT_TRUE(Mentions(r.Notes, "max tries is 5"));
}

TEST(TblCheck, VersionAndLargerHashTableAreNotesOnly) {
    RawTbl t = HashedTwoEntries();
    t.Header.MaxTries = 1;
    t.Header.Version = 1;
    t.Nodes.push_back({});  // a free slot: H = 3
    t.Text.clear();
    const std::pair<const char*, const char*> strings[] = {{"b", "x"}, {"c", "y"}};
    for (int i = 0; i < 2; ++i) {
        t.Nodes[i].KeyOffset = t.AddString(strings[i].first);
        t.Nodes[i].ValueOffset = t.AddString(strings[i].second);
        t.Nodes[i].Hash = TblKeyHash(i == 0 ? u"b" : u"c", 3);
    }
    t.Index = {0, 1};
    // With 3 slots "b" (98) is at home in slot 2, not 0; put the nodes where they belong.
    std::swap(t.Nodes[0], t.Nodes[2]);
    t.Index = {2, 0};
    const TblCheckResult r = CheckTbl(t.Bytes());
    EXPECT_TRUE(Mentions(r.Notes, "version byte is 1"));
    EXPECT_TRUE(Mentions(r.Notes, "free slots"));
    EXPECT_EQ(r.UnusedNodes, 1u);
    EXPECT_FALSE(r.Damaged()) << r.Problems[0];
}

TEST(TblCheck, WrongValueLengthAndElementIndexAreDamage) {
    RawTbl t = HashedTwoEntries();
    t.Header.MaxTries = 1;
    t.Nodes[0].ValueLength = 7;
    t.Nodes[1].ElementIndex = 0;
    const TblCheckResult r = CheckTbl(t.Bytes());
    EXPECT_TRUE(Mentions(r.Problems, "entry 0: the value length is 7"));
    EXPECT_TRUE(Mentions(r.Problems, "entry 1: its node gives the element index 0"));
}

TEST(TblCheck, OutOfBoundsNodeIsDamageAndTheRestIsStillChecked) {
    RawTbl t = HashedTwoEntries();
    t.Header.MaxTries = 1;
    t.Nodes[0].KeyOffset = 0xFFFFFF;
    t.Nodes[1].Hash = 0;
    const TblCheckResult r = CheckTbl(t.Bytes());
    EXPECT_TRUE(Mentions(r.Problems, "entry 0: the key offset 0xFFFFFF is past the end"));
    EXPECT_TRUE(Mentions(r.Problems, "entry 1: the node's hash"));
}

TEST(TblCheck, UnreadableLayoutIsDamage) {
    const TblCheckResult r = CheckTbl(std::vector<uint8_t>(10));
    EXPECT_FALSE(r.HeaderRead);
    EXPECT_TRUE(r.Damaged());
}
