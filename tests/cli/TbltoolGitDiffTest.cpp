#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#ifndef _WIN32

namespace {

// Runs a shell command in `folder`; true when it succeeds.
bool RunInFolder(const std::filesystem::path& folder, const std::string& command) {
    return std::system(("cd '" + Arg(folder) + "' && " + command).c_str()) == 0;
}

}  // namespace

// The setup the README gives: .gitattributes names the driver, git config gives its textconv.
TEST(TbltoolGitDiff, ShowsAChangedValueOfATableAsTextLines) {
    if (std::system("git --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "git is not installed";
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"a", u"b"}, {u"old value", u"same"});
    ASSERT_TRUE(RunInFolder(dir.Path(), "git init -q . && echo '*.tbl diff=tbl' >> .gitattributes && "
                                        "git config diff.tbl.textconv '" TBLTOOL_PROGRAM " export --utf8 \"$1\" - #' && "
                                        "git config diff.tbl.cachetextconv true && git add . && "
                                        "git -c user.name=t -c user.email=t@t commit -qm table"));
    WriteTable(dir / "t.tbl", {u"a", u"b"}, {u"new value", u"same"});
    // Lines end in LF alone: git diff --color marks a CR before a line end as a red ^M.
    ASSERT_TRUE(RunInFolder(dir.Path(), "git diff > diff.txt"));
    const std::vector<uint8_t> bytes = ReadBytes(dir / "diff.txt");
    const std::string diff(bytes.begin(), bytes.end());
    EXPECT_NE(diff.find("\n-a\told value\n"), std::string::npos) << diff;
    EXPECT_NE(diff.find("\n+a\tnew value\n"), std::string::npos) << diff;
    EXPECT_NE(diff.find("\n b\tsame\n"), std::string::npos) << diff;
    EXPECT_EQ(diff.find('\r'), std::string::npos) << diff;
}

#endif
