#include "ToolSupport.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

TEST(TbltoolCheck, WritesOneLinePerFindingAndExitsByWhatItFound) {
    ScratchDir dir;
    WriteTable(dir / "en.tbl", {u"aura", u"gone", u"x", u""}, {u"Level %d %s Aura", u"g", u"\u00FFc1Red", u"e"});
    WriteTable(dir / "de.tbl", {u"aura", u"new\tkey", u"x", u""}, {u"%s-Aura Stufe %d", u"n", u"\u00FFc1Rot", u"%0"});
    const std::string jsonText = R"([{"id": 1, "Key": "x", "deDE": "%d"}])";
    WriteBytes(dir / "de.json", {jsonText.begin(), jsonText.end()});
    WriteBytes(dir / "broken.json", {'['});
    const std::string en = Arg(dir / "en.tbl"), de = Arg(dir / "de.tbl"), json = Arg(dir / "de.json");
    struct Case {
        std::vector<std::string> Args;
        int Exit;
        std::string Out;
    };
    const Case cases[] = {
        {{"check", de, "--against", en}, ExitFailure,
         "0\taura\tplaceholders\t%d %s in the reference, %s %d here\n"
         "1\tnew\\tkey\textra\tnot in the reference\n"
         "3\t\\e\tplaceholders\tnone in the reference, %0 here\n"
         "-\tgone\tmissing\tentry 1 of the reference\n"},
        {{"check", en, "--against", en}, ExitOk, ""},
        {{"check", json, "--lang", "deDE", "--against", en}, ExitFailure,
         "0\tx\tplaceholders\tnone in the reference, %d here\n"
         "0\tx\tcolours\t\\red; only in the reference\n"
         "-\taura\tmissing\tentry 0 of the reference\n"
         "-\tgone\tmissing\tentry 1 of the reference\n"
         "-\t\\e\tmissing\tentry 3 of the reference\n"},
        {{"check", json, "--lang=deDE", "--against", json, "--against-lang", "deDE"}, ExitOk, ""},
        // Wrong usage and unreadable files stop the check.
        {{"check", de}, ExitUsage, ""},
        {{"check", de, en}, ExitUsage, ""},
        {{"check", json, "--lang", "xxXX", "--against", en}, ExitUsage, ""},
        {{"check", de, "--lang", "deDE", "--against", en}, ExitUsage, ""},
        {{"check", Arg(dir / "absent.tbl"), "--against", en}, ExitUsage, ""},
        {{"check", de, "--against", Arg(dir / "broken.json")}, ExitUsage, ""},
    };
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(RunTbltoolCaptured(c.Args, out, err), c.Exit) << c.Args[1] << " " << c.Args[2] << "\n" << err;
        EXPECT_EQ(out, c.Out) << c.Args[1] << " " << c.Args[2];
        EXPECT_EQ(err.empty(), c.Exit != ExitUsage) << err;
    }
}

TEST(TbltoolCheck, RealTranslations) {
    SKIP_WITHOUT_REAL_DATA();
    std::string out, err;
    // The German patch table swapped the arguments of an aura's line.
    EXPECT_EQ(RunTbltoolCaptured({"check", Arg(RealDataDir() / "tbl/gf_DEU_patchstring.tbl"), "--against",
                                  Arg(RealDataDir() / "tbl/db_ENG_patchstring.tbl")},
                                 out, err),
              ExitFailure);
    EXPECT_NE(out.find("976\tModitemAura\tplaceholders\t%d %s in the reference, %s %d here\n"), std::string::npos) << out;
    // The game's own translations write positional placeholders for the English printf ones.
    const std::string modifiers = Arg(RealDataDir() / "json/fb_item-modifiers.json");
    for (const char* language : {"deDE", "frFR", "koKR", "zhCN"}) {
        EXPECT_EQ(RunTbltoolCaptured({"check", modifiers, "--lang", language, "--against", modifiers}, out, err), ExitOk)
            << language;
        EXPECT_EQ(out, "") << language;
    }
}
