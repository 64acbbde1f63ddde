#include "TableDiff.h"
#include "ToolSupport.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// tbltool diff of two tables, its output in `out`.
int DiffOf(const TableEntries& oldTable, const TableEntries& newTable, std::string& out,
           const std::vector<std::string>& options = {}) {
    ScratchDir dir;
    WriteTable(dir / "old.tbl", oldTable.Keys, oldTable.Values);
    WriteTable(dir / "new.tbl", newTable.Keys, newTable.Values);
    std::vector<std::string> args = {"diff", Arg(dir / "old.tbl"), Arg(dir / "new.tbl")};
    args.insert(args.end(), options.begin(), options.end());
    testing::internal::CaptureStdout();
    const int exit = RunTbltool(args);
    out = testing::internal::GetCapturedStdout();
    return exit;
}

}  // namespace

TEST(TbltoolDiff, SameEntriesGiveNoLinesAndExitZero) {
    const TableEntries table = {{u"a", u"b", u"a"}, {u"1", u"2", u"3"}};
    std::string out;
    EXPECT_EQ(DiffOf(table, table, out), ExitOk);
    EXPECT_EQ(out, "");
}

TEST(TbltoolDiff, ListsRemovedChangedMovedAndAddedEntriesByKey) {
    const TableEntries oldTable = {{u"gone", u"a", u"b", u"c", u"d"}, {u"x", u"1", u"2", u"3", u"4"}};
    const TableEntries newTable = {{u"a", u"d", u"b", u"c", u"new"}, {u"1", u"4", u"two", u"3", u"n"}};
    std::string out;
    EXPECT_EQ(DiffOf(oldTable, newTable, out), ExitFailure);
    // a, b and c keep their order although everything shifted: only d moved.
    EXPECT_EQ(out, "removed\t0\tgone\tx\n"
                   "changed\t2->2\tb\t2\ttwo\n"
                   "moved\t4->1\td\t4\n"
                   "added\t4\tnew\tn\n");
}

TEST(TbltoolDiff, MatchesARepeatedKeyByItsOccurrence) {
    const TableEntries oldTable = {{u"k", u"k", u"k"}, {u"first", u"second", u"third"}};
    const TableEntries newTable = {{u"k", u"k"}, {u"first", u"2nd"}};
    std::string out;
    EXPECT_EQ(DiffOf(oldTable, newTable, out), ExitFailure);
    EXPECT_EQ(out, "changed\t1->1\tk\tsecond\t2nd\nremoved\t2\tk\tthird\n");
}

TEST(TbltoolDiff, WritesEntriesOnOneLineEachInEitherEncoding) {
    const TableEntries oldTable = {{u"k"}, {u"caf\u00E9"}};
    const TableEntries newTable = {{u"k", u"tab\tkey"}, {u"caf\u00E9\n\uD55C", u"a\\b"}};
    std::string out;
    EXPECT_EQ(DiffOf(oldTable, newTable, out, {"--utf8"}), ExitFailure);
    EXPECT_EQ(out, "changed\t0->0\tk\tcaf\xC3\xA9\tcaf\xC3\xA9\\n\xED\x95\x9C\nadded\t1\ttab\\tkey\ta\\\\b\n");
    EXPECT_EQ(DiffOf(oldTable, newTable, out), ExitFailure);
    EXPECT_EQ(out, "changed\t0->0\tk\tcaf\xE9\tcaf\xE9\\n\\uD55C\nadded\t1\ttab\\tkey\ta\\\\b\n");
}

TEST(TbltoolDiff, WrongUsageAndUnreadableTables) {
    std::string err;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTbltool({"diff", "only.tbl"}), ExitUsage);
    EXPECT_EQ(RunTbltool({"diff", "a.tbl", "b.tbl", "--bogus"}), ExitUsage);
    EXPECT_EQ(RunTbltool({"diff", "missing-a.tbl", "missing-b.tbl"}), ExitFailure);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("missing-a.tbl: could not open the file: "), std::string::npos) << err;
}
