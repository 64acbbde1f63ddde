#include "TableFiles.h"
#include "ToolSupport.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// tbltool import of `text`; `err` gets stderr.
int ImportText(const ScratchDir& dir, const std::string& text, std::string& err,
               const std::vector<std::string>& options = {}) {
    WriteBytes(dir / "in.txt", {text.begin(), text.end()});
    std::vector<std::string> args = {"import", Arg(dir / "in.txt"), Arg(dir / "out.tbl")};
    args.insert(args.end(), options.begin(), options.end());
    return RunTbltoolQuietly(args, err);
}

const std::string ExportHeader = "String Index\tText\r\n";

}  // namespace

TEST(TbltoolImportReport, CountsTheSkippedLinesWithTheirReasons) {
    ScratchDir dir;
    std::string err;
    EXPECT_EQ(ImportText(dir, ExportHeader + "a\t1\r\n\tno key\r\nno value\r\nb\t2\r\n\r\n\x1A" "c\t3\r\nd\t4", err),
              ExitOk);
    EXPECT_NE(err.find("skipped 1 line without a key (field 0 empty or missing)"), std::string::npos) << err;
    EXPECT_NE(err.find("skipped 1 line without the value field 1"), std::string::npos) << err;
    EXPECT_NE(err.find("skipped 2 lines after a Ctrl+Z byte"), std::string::npos) << err;
    EXPECT_EQ(err.find("line 1 is the header"), std::string::npos) << err;  // the export's own header
    EXPECT_EQ(LoadedEntries(dir / "out.tbl").Keys, (Strings{u"a", u"b"}));
}

TEST(TbltoolImportReport, NoRowReadFailsAndWritesNothing) {
    for (const std::string& text : {ExportHeader, std::string("String Index\tText\rk\tv\rk2\tv2\r")}) {
        ScratchDir dir;
        std::string err;
        EXPECT_EQ(ImportText(dir, text, err), ExitFailure) << text;
        EXPECT_NE(err.find("no row was read; nothing was written"), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.tbl"));
    }
}

TEST(TbltoolImportReport, NamesCrOnlyLineEnds) {
    ScratchDir dir;
    std::string err;
    EXPECT_EQ(ImportText(dir, "String Index\tText\rk\tv\r", err), ExitFailure);
    EXPECT_NE(err.find("in.txt: its lines end in CR alone"), std::string::npos) << err;
}

TEST(TbltoolImportReport, NamesAByteOrderMarkReadWithoutUtf8) {
    ScratchDir dir;
    std::string err;
    const std::string text = "\xEF\xBB\xBF" + ExportHeader + "k\t\xC3\xBC\r\n";
    EXPECT_EQ(ImportText(dir, text, err), ExitOk);
    EXPECT_NE(err.find("UTF-8 byte-order mark"), std::string::npos) << err;
    EXPECT_EQ(ImportText(dir, text, err, {"--utf8"}), ExitOk);
    EXPECT_EQ(err.find("byte-order mark"), std::string::npos) << err;
}

TEST(TbltoolImportReport, ShowsALine1ThatIsNotTheExportsHeader) {
    ScratchDir dir;
    std::string err;
    EXPECT_EQ(ImportText(dir, "first\tdata\r\nsecond\trow\r\n", err), ExitOk);
    EXPECT_NE(err.find("line 1 is the header, never data: \"first\tdata\""), std::string::npos) << err;
}

TEST(TbltoolImportReport, RefusesARowATableCannotHoldNamingItsLineAndWritesNothing) {
    struct Case {
        std::string Text;
        std::vector<std::string> Options;
        std::string Said;
    };
    using namespace std::string_literals;  // the rows hold zero bytes
    const Case cases[] = {
        {ExportHeader + "a\t1\r\n\r\nb\tzero\0here\r\n"s, {}, "in.txt: line 4: the value holds a zero character"},
        {ExportHeader + "a\t" + std::string(65535, 'x') + "\r\n", {}, "in.txt: line 2: the value is 65535 bytes long"},
        {ExportHeader + "a\t1\r\n\xED\x95\x9C\t2\r\n", {"--utf8"},
         "in.txt: line 3: the key \"\xED\x95\x9C\" holds the character U+D55C"},
        {ExportHeader + "a\t1\r\nb\tbackslash\\0\r\nc\tx\0\r\n"s, {"--merge-into", "base.tbl"},
         "in.txt: line 4: the value holds a zero character"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        WriteTable(dir / "base.tbl", {u"a"}, {u"0"});
        std::vector<std::string> options = c.Options;
        for (std::string& option : options)
            if (option == "base.tbl")
                option = Arg(dir / "base.tbl");
        std::string err;
        EXPECT_EQ(ImportText(dir, c.Text, err, options), ExitFailure) << c.Said;
        EXPECT_NE(err.find(c.Said), std::string::npos) << err;
        EXPECT_EQ(err.find("out.tbl"), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.tbl"));
    }
}

// A value is measured as it is written: tokens that the compiler shortens let a longer row in.
TEST(TbltoolImportReport, MeasuresAValueAsItIsCompiled) {
    ScratchDir dir;
    std::string tokens;
    for (int i = 0; i < 40000; ++i)
        tokens += "\\n";
    std::string err;
    EXPECT_EQ(ImportText(dir, ExportHeader + "k\t" + tokens + "\r\n", err), ExitOk) << err;
    EXPECT_EQ(LoadedEntries(dir / "out.tbl").Values, (Strings{std::u16string(40000, u'\n')}));
}
