// A damaged table is refused by every command that loads it, in the words of info, and nothing
// is written, not even over the table itself; --rescue takes what Strindle's rescue takes.
#include "ToolSupport.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The table a, b, c with the values x, y, z, compiled: its text area starts at 21 + 19 * 3 = 0x4E.
std::vector<uint8_t> SoundTable(const ScratchDir& dir) {
    WriteTable(dir / "sound.tbl", {u"a", u"b", u"c"}, {u"x", u"y", u"z"});
    return ReadBytes(dir / "sound.tbl");
}

void SetElementCount(std::vector<uint8_t>& bytes, uint16_t count) {
    bytes[2] = static_cast<uint8_t>(count);
    bytes[3] = static_cast<uint8_t>(count >> 8);
}

}  // namespace

TEST(TbltoolDamagedTable, EveryCommandRefusesATableWhoseCountWasZeroedAndWritesNothing) {
    ScratchDir dir;
    std::vector<uint8_t> bytes = SoundTable(dir);
    SetElementCount(bytes, 0);
    WriteBytes(dir / "d.tbl", bytes);
    const std::string text = "String Index\tText\r\na\t1\r\n";
    WriteBytes(dir / "t.txt", {text.begin(), text.end()});
    const std::string damaged = Arg(dir / "d.tbl"), sound = Arg(dir / "sound.tbl"), out = Arg(dir / "out");
    const std::string infoWords = "the header's text area start is 0x4E, but the hash table ends at 0x48";

    std::string stdoutText, err;
    EXPECT_EQ(RunTbltoolCaptured({"info", damaged}, stdoutText, err), ExitFailure);
    EXPECT_NE(stdoutText.find("Problems:\n  - " + infoWords + "\n"), std::string::npos) << stdoutText;

    const std::vector<std::vector<std::string>> commands = {
        {"recompile", damaged, damaged},
        {"recompile", damaged, out, "--parse-on-load"},
        {"export", damaged, out},
        {"export", "--utf8", damaged, "-"},
        {"tojson", damaged, out},
        {"merge", sound, damaged, out},
        {"merge", damaged, sound, damaged},
        {"diff", sound, damaged},
        {"import", Arg(dir / "t.txt"), out, "--merge-into", damaged},
    };
    for (const std::vector<std::string>& args : commands) {
        EXPECT_EQ(RunTbltoolCaptured(args, stdoutText, err), ExitFailure) << args[0];
        EXPECT_NE(err.find(damaged + ": The file is not a sound string table and was not loaded: " + infoWords +
                           ". --rescue would take 0 entries."),
                  std::string::npos)
            << err;
        EXPECT_EQ(stdoutText, "") << args[0];
        EXPECT_EQ(ReadBytes(dir / "d.tbl"), bytes) << args[0];
        EXPECT_FALSE(std::filesystem::exists(dir / "out")) << args[0];
    }
}

// Strindle's rescue takes the entries as the header counts them and leaves those it cannot
// read empty, in their places; --rescue takes the same, and says what it could not read.
TEST(TbltoolDamagedTable, RescueTakesWhatCanBeReadAsStrindlesRescueDoes) {
    struct Case {
        const char* Damage;
        void (*Apply)(std::vector<uint8_t>& bytes);
        Strings Keys;
        Strings Values;
        std::string Taken;                   // "3 entries, 1 of them left empty"
        std::vector<std::string> Unreadable; // the entries left empty, as stderr lists them
    };
    const Case cases[] = {
        {"count zeroed", [](std::vector<uint8_t>& b) { SetElementCount(b, 0); }, {}, {}, "0 entries", {}},
        {"key outside the file",
         [](std::vector<uint8_t>& b) {
             const size_t node = 21 + 2 * 3 + 17 * size_t{b[21]};  // entry 0's node
             b[node + 7] = 0x00;  // its key offset: 0x1000
             b[node + 8] = 0x10;
         },
         {u"", u"b", u"c"},
         {u"", u"y", u"z"},
         "3 entries, 1 of them left empty",
         {"entry 0: the key offset 0x1000 is past the end of the file (0x5A)"}},
        {"cut short", [](std::vector<uint8_t>& b) { b.resize(b.size() - 2); }, {u"a", u"b", u""}, {u"x", u"y", u""},
         "3 entries, 1 of them left empty", {"entry 2: the value offset 0x58 is past the end of the file (0x58)"}},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::vector<uint8_t> bytes = SoundTable(dir);
        c.Apply(bytes);
        WriteBytes(dir / "d.tbl", bytes);
        const std::string damaged = Arg(dir / "d.tbl"), out = Arg(dir / "out.tbl");

        std::string err;
        EXPECT_EQ(RunTbltoolQuietly({"recompile", damaged, out}, err), ExitFailure) << c.Damage;
        EXPECT_NE(err.find(". --rescue would take " + c.Taken + ".\n"), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.tbl")) << c.Damage;

        EXPECT_EQ(RunTbltoolQuietly({"recompile", "--rescue", damaged, out}, err), ExitOk) << c.Damage;
        const std::string file = "tbltool: " + damaged + ": ";
        EXPECT_EQ(err.rfind(file + "The file is not a sound string table and was not loaded: ", 0), 0u) << err;
        std::string took = file + "--rescue took " + c.Taken;
        if (!c.Unreadable.empty())
            took += " because they could not be read:";
        EXPECT_NE(err.find("\n" + took + "\n"), std::string::npos) << err;
        for (const std::string& entry : c.Unreadable)
            EXPECT_NE(err.find("\n" + file + entry + "\n"), std::string::npos) << err;
        const TableEntries rescued = LoadedEntries(dir / "out.tbl");
        EXPECT_EQ(rescued.Keys, c.Keys) << c.Damage;
        EXPECT_EQ(rescued.Values, c.Values) << c.Damage;
        EXPECT_EQ(ReadBytes(dir / "d.tbl"), bytes) << c.Damage;
    }
}

TEST(TbltoolDamagedTable, RescueCannotTakeAFileWithoutAWholeHeader) {
    ScratchDir dir;
    WriteBytes(dir / "short.tbl", {1, 2, 3});
    std::string err;
    EXPECT_EQ(RunTbltoolQuietly({"export", "--rescue", Arg(dir / "short.tbl"), Arg(dir / "out.txt")}, err),
              ExitFailure);
    EXPECT_NE(err.find("shorter than the 21-byte header."), std::string::npos) << err;
    EXPECT_EQ(err.find("--rescue"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
}
