#include "ToolSupport.h"

#include "Utf.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Tbltool, WrongUsageExitsWithTwo) {
    EXPECT_EQ(RunTbltool({}), ExitUsage);
    EXPECT_EQ(RunTbltool({"frobnicate"}), ExitUsage);
    EXPECT_EQ(RunTbltool({"info"}), ExitUsage);
    EXPECT_EQ(RunTbltool({"info", "a.tbl", "b.tbl"}), ExitUsage);
    EXPECT_EQ(RunTbltool({"info", "--bogus", "a.tbl"}), ExitUsage);
    EXPECT_EQ(RunTbltool({"recompile", "in.tbl"}), ExitUsage);
}

TEST(Tbltool, EveryCommandHasHelp) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunTbltool({"--help"}), ExitOk);
    EXPECT_EQ(RunTbltool({"info", "--help"}), ExitOk);
    EXPECT_EQ(RunTbltool({"recompile", "--help"}), ExitOk);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Usage: tbltool info FILE.tbl"), std::string::npos);
    EXPECT_NE(out.find("Usage: tbltool recompile IN.tbl OUT.tbl"), std::string::npos);
}

TEST(Tbltool, InfoOfASoundTableSucceeds) {
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"a", u"b", u"a"}, {u"x", u"y", u"z"});
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunTbltool({"info", Arg(dir / "t.tbl")}), ExitOk);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Duplicate keys   1"), std::string::npos) << out;
    EXPECT_NE(out.find("Result: sound"), std::string::npos) << out;
}

TEST(Tbltool, InfoOfADamagedOrMissingTableFails) {
    ScratchDir dir;
    WriteTable(dir / "t.tbl", {u"a", u"b"}, {u"x", u"y"});
    auto bytes = ReadBytes(dir / "t.tbl");
    bytes.back() = 'Q';  // the value's terminator: the CRC no longer matches and the string runs off
    WriteBytes(dir / "t.tbl", bytes);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTbltool({"info", Arg(dir / "t.tbl")}), ExitFailure);
    EXPECT_EQ(RunTbltool({"info", Arg(dir / "missing.tbl")}), ExitFailure);
    const std::string out = testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("Result: damaged"), std::string::npos) << out;
}

TEST(Tbltool, RecompileWritesWhatOpenThenSaveWould) {
    ScratchDir dir;
    const std::filesystem::path folder = dir / "mod \u00FCber";
    std::filesystem::create_directory(folder);
    WriteTable(folder / "in.tbl", {u"k"}, {u"\\red;x"});
    std::string err;
    EXPECT_EQ(RunTbltoolQuietly({"recompile", Arg(folder / "in.tbl"), Arg(folder / "out.tbl"), "--parse-on-load"}, err),
              ExitOk);
    EXPECT_EQ(ReadBytes(folder / "out.tbl"), ReadBytes(folder / "in.tbl"));
}

TEST(Tbltool, RecompileOfAnUnreadableTableFailsAndWritesNothing) {
    ScratchDir dir;
    WriteBytes(dir / "bad.tbl", {1, 2, 3});
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTbltool({"recompile", Arg(dir / "bad.tbl"), Arg(dir / "out.tbl")}), ExitFailure);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("shorter than the 21-byte header"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.tbl"));
}

TEST(Tbltool, OptionValuesMayFollowAnEqualsSignAndDoubleDashEndsTheOptions) {
    ScratchDir dir;
    WriteBytes(dir / "t.txt", {'I', 'd', '\t', 'K', '\n', '1', '\t', 'k', '\n'});
    std::string err;
    const std::vector<std::string> import = {"import", "--key-column=1", "--value-column=0", Arg(dir / "t.txt"),
                                             Arg(dir / "t.tbl")};
    EXPECT_EQ(RunTbltoolQuietly(import, err), ExitOk);
    // After "--" an argument that looks like an option is a file name.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(RunTbltoolQuietly({"recompile", "--", "t.tbl", "--parse-on-load"}, err), ExitOk);
    std::filesystem::current_path(before);
    EXPECT_TRUE(std::filesystem::exists(dir / "--parse-on-load"));
}
