#include "ToolSupport.h"

#include "TableFiles.h"

#include "Utf.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Table = TableEntries;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Text(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

Table LoadTable(const std::filesystem::path& path, bool parseOnLoad = false) { return LoadedEntries(path, parseOnLoad); }

// Runs tbltool with its output captured; `err` gets what went to stderr.
int RunQuietly(const std::vector<std::string>& args, std::string& err) { return RunTbltoolQuietly(args, err); }

int RunQuietly(const std::vector<std::string>& args) {
    std::string err;
    return RunQuietly(args, err);
}

const std::string Header = "String Index\tText\r\n";

}  // namespace

TEST(TbltoolExport, WritesTheTableAsTheExportDialogDoes) {
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"x1", u"Caf\u00E9", u"x1"}, {u"A\nB", u"\u00FCber\\n", u""});
    ASSERT_EQ(RunQuietly({"export", Arg(dir / "t.tbl"), Arg(dir / "t.txt")}), ExitOk);
    // The compiler turns the two characters \n into a line feed, which the export writes as \n.
    EXPECT_EQ(Text(dir / "t.txt"), Header + "x1\tA\\nB\r\nCaf\xE9\t\xFC" "ber\\n\r\nx1\t\r\n");
}

TEST(TbltoolExport, ParseOnLoadWritesColourCodesAsTokens) {
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"k"}, {u"\\red;Fire"});
    ASSERT_EQ(RunQuietly({"export", "--parse-on-load", Arg(dir / "t.tbl"), Arg(dir / "tokens.txt")}), ExitOk);
    ASSERT_EQ(RunQuietly({"export", Arg(dir / "t.tbl"), Arg(dir / "codes.txt")}), ExitOk);
    EXPECT_EQ(Text(dir / "tokens.txt"), Header + "k\t\\red;Fire\r\n");
    EXPECT_EQ(Text(dir / "codes.txt"), Header + "k\t\xFF" "c1Fire\r\n");
}

TEST(TbltoolExport, RefusesCharactersAboveU00FFUnlessUtf8) {
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"ok", u"Hangul"}, {u"fine", u"\uD55C\uAE00"});
    std::string err;
    EXPECT_EQ(RunQuietly({"export", Arg(dir / "t.tbl"), Arg(dir / "t.txt")}, err), ExitFailure);
    EXPECT_NE(err.find("Entry 1 (key \"Hangul\")"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "t.txt"));

    ASSERT_EQ(RunQuietly({"export", Arg(dir / "t.tbl"), Arg(dir / "t.txt"), "--utf8"}), ExitOk);
    EXPECT_EQ(Text(dir / "t.txt"), Header + "ok\tfine\r\nHangul\t\xED\x95\x9C\xEA\xB8\x80\r\n");
}

TEST(TbltoolExport, MissingTableFails) {
    ScratchDir dir;
    EXPECT_EQ(RunQuietly({"export", Arg(dir / "missing.tbl"), Arg(dir / "t.txt")}), ExitFailure);
    EXPECT_FALSE(std::filesystem::exists(dir / "t.txt"));
}

TEST(TbltoolImport, CompilesTheRowsInFileOrderKeepingDuplicates) {
    ScratchDir dir;
    WriteBytes(dir / "t.txt", Bytes(Header + "a\t\\red;x\\ny\r\n\tno key\r\nb\t2\r\na\t3\r\nno value\r\n\r\n"));
    ASSERT_EQ(RunQuietly({"import", Arg(dir / "t.txt"), Arg(dir / "t.tbl")}), ExitOk);
    const Table table = LoadTable(dir / "t.tbl", true);
    EXPECT_EQ(table.Keys, (Strings{u"a", u"b", u"a"}));
    EXPECT_EQ(table.Values, (Strings{u"\\red;x\ny", u"2", u"3"}));
}

TEST(TbltoolImport, TakesTheChosenColumns) {
    ScratchDir dir;
    WriteBytes(dir / "t.txt", Bytes("Id\tEnglish\tKey\r\n1\tOne\tk1\r\n2\tTwo\tk2\r\n"));
    ASSERT_EQ(RunQuietly({"import", Arg(dir / "t.txt"), Arg(dir / "t.tbl"), "--key-column", "2", "--value-column", "1"}),
              ExitOk);
    const Table table = LoadTable(dir / "t.tbl");
    EXPECT_EQ(table.Keys, (Strings{u"k1", u"k2"}));
    EXPECT_EQ(table.Values, (Strings{u"One", u"Two"}));
}

TEST(TbltoolImport, RefusesAColumnTheHeaderLacks) {
    ScratchDir dir;
    WriteBytes(dir / "t.txt", Bytes(Header + "a\t1\tmore\r\n"));
    std::string err;
    EXPECT_EQ(RunQuietly({"import", Arg(dir / "t.txt"), Arg(dir / "t.tbl"), "--value-column", "2"}, err), ExitFailure);
    EXPECT_NE(err.find("no column 2"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "t.tbl"));
}

TEST(TbltoolImport, WrongColumnOptionsAreWrongUsage) {
    EXPECT_EQ(RunQuietly({"import", "in.txt", "out.tbl", "--key-column"}), ExitUsage);
    EXPECT_EQ(RunQuietly({"import", "in.txt", "out.tbl", "--key-column", "one"}), ExitUsage);
    EXPECT_EQ(RunQuietly({"import", "in.txt", "out.tbl", "--value-column", "-1"}), ExitUsage);
    EXPECT_EQ(RunQuietly({"import", "in.txt", "out.tbl", "--key-column", "0", "--key-column", "1"}), ExitUsage);
    EXPECT_EQ(RunQuietly({"import", "in.txt", "--merge-into"}), ExitUsage);
    EXPECT_EQ(RunQuietly({"import", "in.txt"}), ExitUsage);
}

TEST(TbltoolImport, MergeIntoOverwritesByKeyAndAppendsNewKeys) {
    ScratchDir dir;
    WriteTable(dir / "base.tbl", {u"a", u"b", u"a"}, {u"1", u"2", u"3"});
    WriteBytes(dir / "t.txt", Bytes(Header + "a\tfirst\r\nc\tC\r\nA\tcase\r\na\tlast\r\n"));
    ASSERT_EQ(RunQuietly({"import", Arg(dir / "t.txt"), Arg(dir / "out.tbl"), "--merge-into", Arg(dir / "base.tbl")}),
              ExitOk);
    const Table table = LoadTable(dir / "out.tbl");
    EXPECT_EQ(table.Keys, (Strings{u"a", u"b", u"a", u"c", u"A"}));
    EXPECT_EQ(table.Values, (Strings{u"last", u"2", u"last", u"C", u"case"}));
}

TEST(TbltoolImport, Utf8ReadsTheFileAsUtf8) {
    ScratchDir dir;
    WriteBytes(dir / "t.txt", Bytes("\xEF\xBB\xBF" + Header + "k\t\xC5\x81\xC3\xB3" "d\xC5\xBA\r\n"));
    ASSERT_EQ(RunQuietly({"import", "--utf8", Arg(dir / "t.txt"), Arg(dir / "t.tbl")}), ExitOk);
    EXPECT_EQ(LoadTable(dir / "t.tbl").Values, (Strings{u"\u0141\u00F3d\u017A"}));
    ASSERT_EQ(RunQuietly({"import", Arg(dir / "t.txt"), Arg(dir / "one-byte.tbl")}), ExitOk);
    EXPECT_EQ(LoadTable(dir / "one-byte.tbl").Values, (Strings{u"\u00C5\u0081\u00C3\u00B3d\u00C5\u00BA"}));
}

TEST(TbltoolImport, MissingFileIsNotOpenedAndWritesNothing) {
    ScratchDir dir;
    std::string err;
    EXPECT_EQ(RunQuietly({"import", Arg(dir / "missing.txt"), Arg(dir / "t.tbl")}, err), ExitFailure);
    EXPECT_NE(err.find(Arg(dir / "missing.txt") + ": could not open the file: "), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "t.tbl"));
}

TEST(TbltoolMerge, MergesTheOtherTableIntoTheBaseByKey) {
    ScratchDir dir;
    WriteTable(dir / "base.tbl", {u"a", u"b", u"a"}, {u"1", u"2", u"3"});
    WriteTable(dir / "other.tbl", {u"x", u"a", u"x"}, {u"X1", u"A", u"X2"});
    ASSERT_EQ(RunQuietly({"merge", Arg(dir / "base.tbl"), Arg(dir / "other.tbl"), Arg(dir / "base.tbl")}), ExitOk);
    const Table table = LoadTable(dir / "base.tbl");
    EXPECT_EQ(table.Keys, (Strings{u"a", u"b", u"a", u"x"}));
    EXPECT_EQ(table.Values, (Strings{u"A", u"2", u"A", u"X2"}));
}

TEST(TbltoolMerge, UnreadableTableFailsAndWritesNothing) {
    ScratchDir dir;
    WriteTable(dir / "base.tbl", {u"a"}, {u"1"});
    EXPECT_EQ(RunQuietly({"merge", Arg(dir / "base.tbl"), Arg(dir / "missing.tbl"), Arg(dir / "out.tbl")}), ExitFailure);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.tbl"));
    EXPECT_EQ(RunQuietly({"merge", Arg(dir / "base.tbl"), Arg(dir / "out.tbl")}), ExitUsage);
}

TEST(TbltoolExchange, EveryCommandHasHelp) {
    for (const char* command : {"export", "import", "merge"}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(RunTbltool({command, "--help"}), ExitOk) << command;
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind(std::string("Usage: tbltool ") + command + " ", 0), 0u) << out;
    }
}

TEST(TbltoolExchange, EveryRealTableRoundTripsThroughUtf8Text) {
    SKIP_WITHOUT_REAL_DATA();
    int tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "tbl")) {
        if (entry.path().extension() != ".tbl")
            continue;
        ScratchDir dir;
        ASSERT_EQ(RunQuietly({"export", "--utf8", Arg(entry.path()), Arg(dir / "t.txt")}), ExitOk) << entry.path();
        ASSERT_EQ(RunQuietly({"import", "--utf8", Arg(dir / "t.txt"), Arg(dir / "t.tbl")}), ExitOk) << entry.path();
        const Table original = LoadTable(entry.path());
        const Table back = LoadTable(dir / "t.tbl");
        EXPECT_EQ(back.Keys, original.Keys) << entry.path();
        EXPECT_EQ(back.Values, original.Values) << entry.path();
        ++tables;
    }
    EXPECT_EQ(tables, 7);
}

TEST(TbltoolExchange, Utf8TextGivesBackEntriesThePlainLayoutCannotHold) {
    ScratchDir dir;
    // An empty key, TAB, LF and CR in keys and values, a value holding backslash and n, a lone
    // backslash, bytes that are not UTF-8, a Ctrl+Z byte, a repeated key.
    const Strings keys = {u"", u"tab\tkey", u"lf\nkey", u"same", u"same", u"cr\rkey", u"back\\"};
    const Strings values = {u"no key", u"a\tb", u"line\nfeed\r\n", u"two chars \\n", u"\\red; \\",
                            u"stray \xDCE9 \x1A end", u""};
    ASSERT_TRUE(SaveTable(Arg(dir / "t.tbl"), TableOf(keys, values), TblValueForm::Exact));
    ASSERT_EQ(RunQuietly({"export", "--utf8", Arg(dir / "t.tbl"), Arg(dir / "t.txt")}), ExitOk);
    EXPECT_EQ(Text(dir / "t.txt"), Header +
                                       "\\e\tno key\r\n"
                                       "tab\\tkey\ta\\tb\r\n"
                                       "lf\\nkey\tline\\nfeed\\r\\n\r\n"
                                       "same\ttwo chars \\\\n\r\n"
                                       "same\t\\\\red; \\\\\r\n"
                                       "cr\\rkey\tstray \xE9 \x1A end\r\n"
                                       "back\\\\\t\r\n");
    ASSERT_EQ(RunQuietly({"import", "--utf8", Arg(dir / "t.txt"), Arg(dir / "back.tbl")}), ExitOk);
    const Table back = LoadTable(dir / "back.tbl");
    EXPECT_EQ(back.Keys, keys);
    EXPECT_EQ(back.Values, values);
}

// Standard output is read by git and other programs through a pipe: its lines end in LF alone,
// and import takes them back. A file keeps the CR LF of the editor's export.
TEST(TbltoolExchange, ExportToADashWritesLfLinesToStandardOutput) {
    ScratchDir dir;
    const Strings keys = {u"k", u"lf\nkey"}, values = {u"\u00FCber\r", u"two\nlines"};
    ASSERT_TRUE(SaveTable(Arg(dir / "t.tbl"), TableOf(keys, values), TblValueForm::Exact));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--utf8"}, "String Index\tText\nk\t\xC3\xBC" "ber\\r\nlf\\nkey\ttwo\\nlines\n"},
        {{}, "String Index\tText\nk\t\xFC" "ber\r\nlf\nkey\ttwo\\nlines\n"},
    };
    for (const auto& [options, text] : cases) {
        std::vector<std::string> args = {"export", Arg(dir / "t.tbl"), "-"};
        args.insert(args.end(), options.begin(), options.end());
        std::string out, err;
        EXPECT_EQ(RunTbltoolCaptured(args, out, err), ExitOk) << err;
#ifdef _WIN32
        // GoogleTest reads the captured output back in text mode there, which drops each CR of CR LF.
        std::string expected = text;
        std::erase(expected, '\r');
        std::erase(out, '\r');
        EXPECT_EQ(out, expected);
#else
        EXPECT_EQ(out, text);
#endif
        EXPECT_FALSE(std::filesystem::exists(dir / "-"));
    }
    // What git shows is the text of the table: the UTF-8 form imports back to every entry.
    std::string out, err;
    ASSERT_EQ(RunTbltoolCaptured({"export", "--utf8", Arg(dir / "t.tbl"), "-"}, out, err), ExitOk);
    WriteBytes(dir / "piped.txt", Bytes(out));
    ASSERT_EQ(RunQuietly({"import", "--utf8", Arg(dir / "piped.txt"), Arg(dir / "back.tbl")}), ExitOk);
    EXPECT_EQ(LoadTable(dir / "back.tbl").Keys, keys);
    ASSERT_EQ(RunQuietly({"export", "--utf8", Arg(dir / "t.tbl"), Arg(dir / "t.txt")}), ExitOk);
    EXPECT_EQ(Text(dir / "t.txt"), Header + "k\t\xC3\xBC" "ber\\r\r\nlf\\nkey\ttwo\\nlines\r\n");
}
