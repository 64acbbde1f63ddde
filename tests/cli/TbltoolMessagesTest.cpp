// Where tbltool's words go and how they read: messages on stderr, one line each, naming their
// file once; standard output holds data alone.
#include "ToolSupport.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    WriteBytes(path, {text.begin(), text.end()});
}

}  // namespace

TEST(TbltoolMessages, EveryCommandSaysAnUnreadableFileAlikeNamingItOnce) {
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"k"}, {u"v"});
    WriteText(dir / "t.txt", "String Index\tText\r\nk\tv\r\n");
    const std::string missing = Arg(dir / "missing"), table = Arg(dir / "t.tbl"), out = Arg(dir / "out");
    const std::vector<std::vector<std::string>> commands = {
        {"info", missing},
        {"recompile", missing, out},
        {"export", missing, out},
        {"import", missing, out},
        {"import", Arg(dir / "t.txt"), out, "--merge-into", missing},
        {"merge", table, missing, out},
        {"diff", missing, table},
        {"tojson", missing, out},
        {"tojson", table, out, "--into", missing},
        {"fromjson", missing, out},
    };
    for (const std::vector<std::string>& args : commands) {
        std::string stdoutText, err;
        EXPECT_EQ(RunTbltoolCaptured(args, stdoutText, err), ExitFailure) << args[0];
        EXPECT_EQ(err.rfind("tbltool: " + missing + ": could not open the file: ", 0), 0u) << err;
        EXPECT_EQ(Occurrences(err, missing), 1u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(stdoutText, "") << args[0];
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << args[0];
    }
}

TEST(TbltoolMessages, WhatACommandDidGoesToStderrAndStdoutHoldsOnlyData) {
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"a", u"b"}, {u"x", u"y"});
    WriteTable(dir / "u.tbl", {u"a", u"b"}, {u"x", u"z"});
    WriteText(dir / "t.txt", "String Index\tText\r\na\tx\r\nb\ty\r\n");
    WriteText(dir / "t.json", "[{\"id\": 1, \"Key\": \"a\", \"enUS\": \"x\"}, {\"id\": 2, \"Key\": \"b\"}]");
    const std::string t = Arg(dir / "t.tbl"), out = Arg(dir / "out");
    struct Case {
        std::vector<std::string> Args;
        std::string Err;
        std::string Out;
    };
    const Case cases[] = {
        {{"recompile", t, out}, "tbltool: " + out + ": 2 entries, max tries 1, 67 bytes\n", ""},
        {{"export", t, out}, "tbltool: " + out + ": 2 entries\n", ""},
        {{"import", Arg(dir / "t.txt"), out}, "tbltool: " + out + ": 2 entries, 2 rows read\n", ""},
        {{"merge", t, Arg(dir / "u.tbl"), out}, "tbltool: " + out + ": 2 entries, 0 of them new\n", ""},
        {{"tojson", t, out}, "tbltool: " + out + ": 2 entries, ids from 0\n", ""},
        {{"fromjson", Arg(dir / "t.json"), out},
         "tbltool: " + out + ": 2 entries, 1 of them empty: their rows have no enUS\n", ""},
        {{"diff", t, Arg(dir / "u.tbl")}, "", "changed\t1->1\tb\ty\tz\n"},
    };
    for (const Case& c : cases) {
        std::string stdoutText, err;
        RunTbltoolCaptured(c.Args, stdoutText, err);
        EXPECT_EQ(err, c.Err) << c.Args[0];
        EXPECT_EQ(stdoutText, c.Out) << c.Args[0];
    }
}

// A byte that was not UTF-8 is held as an internal code (Utf.h); the user sees the byte.
TEST(TbltoolMessages, NameACharacterOrAByteThatIsNotUtf8AsTheFileHoldsIt) {
    ScratchDir dir;
    ASSERT_TRUE(SaveTable(Arg(dir / "old.tbl"), TableOf({u"k"}, {u"a"}), TblValueForm::Exact));
    ASSERT_TRUE(SaveTable(Arg(dir / "byte.tbl"), TableOf({u"k"}, {u"caf\xDCE9"}), TblValueForm::Exact));
    ASSERT_TRUE(SaveTable(Arg(dir / "hanzi.tbl"), TableOf({u"k"}, {u"\u4E2D"}), TblValueForm::Exact));
    WriteText(dir / "key.txt", "String Index\tText\r\ncaf\xE9\tv\r\n");
    struct Case {
        std::vector<std::string> Args;
        std::string Said;  // on stderr, or on stdout for the diff
    };
    const Case cases[] = {
        {{"export", Arg(dir / "byte.tbl"), Arg(dir / "out.txt")}, "holds the byte 0xE9 (not UTF-8), which a text file"},
        {{"export", Arg(dir / "hanzi.tbl"), Arg(dir / "out.txt")}, "holds the character U+4E2D, which a text file"},
        {{"import", "--utf8", Arg(dir / "key.txt"), Arg(dir / "out.tbl")},
         "the key \"caf\xE9\" holds the byte 0xE9 (not UTF-8); a key can hold only"},
        {{"diff", Arg(dir / "old.tbl"), Arg(dir / "byte.tbl")}, "changed\t0->0\tk\ta\tcaf\\xE9\n"},
        {{"diff", Arg(dir / "old.tbl"), Arg(dir / "hanzi.tbl")}, "changed\t0->0\tk\ta\t\\u4E2D\n"},
    };
    for (const Case& c : cases) {
        std::string stdoutText, err;
        EXPECT_EQ(RunTbltoolCaptured(c.Args, stdoutText, err), ExitFailure) << c.Args[0];
        EXPECT_NE((stdoutText + err).find(c.Said), std::string::npos) << stdoutText << err;
        EXPECT_EQ((stdoutText + err).find("U+DC"), std::string::npos) << stdoutText << err;
    }
}
