#include "MergeEntries.h"

#include "TblFormat.h"
#include "TxtioTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {


// The merge by its plain definition: every source key compared with every table key.
void MergeByComparingEveryKey(const Strings& sourceKeys, const Strings& sourceValues, Table& table) {
    for (size_t i = 0; i < sourceKeys.size(); ++i) {
        bool matched = false;
        for (size_t j = 0; j < table.Keys.size(); ++j) {
            if (table.Keys[j] == sourceKeys[i]) {
                table.Values[j] = sourceValues[i];
                matched = true;
            }
        }
        if (!matched) {
            table.Keys.push_back(sourceKeys[i]);
            table.Values.push_back(sourceValues[i]);
        }
    }
}

Result MergeInto(const Table& source, Table& table) {
    TblDocument document = DocumentOf(table);
    const Result result = MergeEntries(DocumentOf(source).Entries(), document);
    table = EntriesOf(document);
    return result;
}

Table Merged(const Table& source, Table table) {
    const Result result = MergeInto(source, table);
    EXPECT_TRUE(result.Ok) << result.Message;
    return table;
}

// Keys drawn from a small pool so that both sides hold many duplicates and many shared keys.
Table RandomTable(std::mt19937& random, size_t count, size_t keyPool) {
    std::uniform_int_distribution<size_t> key(0, keyPool - 1);
    Table table;
    for (size_t i = 0; i < count; ++i) {
        const size_t k = key(random);
        // Keys that differ only in case or length must stay apart.
        std::u16string name = (k % 3 == 0 ? u"Key" : u"key") + std::u16string(k / 3 % 2 + 1, u'_');
        for (char c : std::to_string(k))
            name.push_back(static_cast<char16_t>(c));
        table.Keys.push_back(k == 0 ? u"" : name);
        table.Values.push_back(u"value " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                               std::u16string(i % 5, u'\n'));
    }
    return table;
}

}  // namespace

TEST(MergeEntries, UpdatesMatchingEntriesAndAppendsNewKeysInSourceOrder) {
    const Table table{{u"a", u"b", u"c"}, {u"1", u"2", u"3"}};
    const Table source{{u"x", u"b", u"y"}, {u"X", u"B", u"Y"}};
    const Table merged = Merged(source, table);
    EXPECT_EQ(merged.Keys, (Strings{u"a", u"b", u"c", u"x", u"y"}));
    EXPECT_EQ(merged.Values, (Strings{u"1", u"B", u"3", u"X", u"Y"}));
}

TEST(MergeEntries, EveryTableEntryWithTheKeyTakesTheLastSourceValue) {
    const Table table{{u"d", u"a", u"d", u"d"}, {u"1", u"2", u"3", u"4"}};
    const Table source{{u"d", u"a", u"d"}, {u"first", u"A", u"last"}};
    const Table merged = Merged(source, table);
    EXPECT_EQ(merged.Keys, table.Keys);
    EXPECT_EQ(merged.Values, (Strings{u"last", u"A", u"last", u"last"}));
}

TEST(MergeEntries, NewKeyRepeatedInTheSourceIsAppendedOnceWithItsLastValue) {
    const Table table{{u"a"}, {u"1"}};
    const Table source{{u"n", u"m", u"n", u"n"}, {u"first", u"M", u"second", u"third"}};
    const Table merged = Merged(source, table);
    EXPECT_EQ(merged.Keys, (Strings{u"a", u"n", u"m"}));
    EXPECT_EQ(merged.Values, (Strings{u"1", u"third", u"M"}));
}

TEST(MergeEntries, KeysAreComparedExactly) {
    const Table table{{u"Key", u"key "}, {u"1", u"2"}};
    const Table source{{u"key", u"Key"}, {u"lower", u"upper"}};
    const Table merged = Merged(source, table);
    EXPECT_EQ(merged.Keys, (Strings{u"Key", u"key ", u"key"}));
    EXPECT_EQ(merged.Values, (Strings{u"upper", u"2", u"lower"}));
}

TEST(MergeEntries, EmptyKeysMatchEachOther) {
    const Table table{{u"", u"a", u""}, {u"1", u"2", u"3"}};
    const Table merged = Merged({{u""}, {u"unused"}}, table);
    EXPECT_EQ(merged.Values, (Strings{u"unused", u"2", u"unused"}));
}

TEST(MergeEntries, TableMergedWithItselfKeepsOnlyTheLastValueOfRepeatedKeys) {
    Table table{{u"a", u"b", u"a"}, {u"1", u"2", u"3"}};
    ASSERT_TRUE(MergeInto(table, table).Ok);
    EXPECT_EQ(table.Keys, (Strings{u"a", u"b", u"a"}));
    EXPECT_EQ(table.Values, (Strings{u"3", u"2", u"3"}));
}

TEST(MergeEntries, GivesWhatComparingEveryKeyGivesOnRandomTables) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        const size_t pool = 1 + round % 40;
        const Table table = RandomTable(random, round % 50, pool);
        const Table source = RandomTable(random, (round * 7) % 60, pool + round % 9);
        Table expected = table;
        MergeByComparingEveryKey(source.Keys, source.Values, expected);
        const Table merged = Merged(source, table);
        ASSERT_EQ(merged.Keys, expected.Keys) << "round " << round;
        ASSERT_EQ(merged.Values, expected.Values) << "round " << round;
    }
}

TEST(MergeEntries, RefusesToGrowATableBeyondWhatAFileHolds) {
    Table table;
    for (size_t i = 0; i < TblMaxEntries - 1; ++i) {
        table.Keys.push_back(u"k" + std::u16string(1, static_cast<char16_t>(i)));
        table.Values.push_back(u"");
    }
    const Table before = table;
    // One new key fits, even repeated; a second does not.
    Table source{{u"new", u"new", table.Keys[5]}, {u"1", u"2", u"3"}};
    EXPECT_EQ(Merged(source, table).Keys.size(), size_t{TblMaxEntries});
    source.Keys.push_back(u"another");
    source.Values.push_back(u"4");
    const Result result = MergeInto(source, table);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("65536"), std::string::npos) << result.Message;
    EXPECT_EQ(table.Keys, before.Keys);
    EXPECT_EQ(table.Values, before.Values);
}
