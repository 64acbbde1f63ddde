#include "D2rStrings.h"
#include "TableFiles.h"
#include "ToolSupport.h"

#include "TbltoolTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
    WriteBytes(path, {text.begin(), text.end()});
}

TableEntries LoadExactly(const std::filesystem::path& path) { return LoadedEntries(path); }

}  // namespace

TEST(TbltoolJson, TojsonWritesTheGamesLayout) {
    ScratchDir dir;
    ASSERT_TRUE(SaveTable(Arg(dir / "mod_patchstring.tbl"), TableOf({u"a", u"b"}, {u"\u00FFc1Red\nline", u"\"q\""}),
                          TblValueForm::Exact));
    std::string err;
    ASSERT_EQ(RunTbltoolQuietly({"tojson", Arg(dir / "mod_patchstring.tbl"), Arg(dir / "t.json"), "--lang", "deDE"}, err), ExitOk);
    EXPECT_EQ(ReadText(dir / "t.json"), "\xEF\xBB\xBF[\r\n"
                                        "  {\r\n    \"id\": 10000,\r\n    \"Key\": \"a\",\r\n"
                                        "    \"deDE\": \"\xC3\xBF" "c1Red\\nline\"\r\n  },\r\n"
                                        "  {\r\n    \"id\": 10001,\r\n    \"Key\": \"b\",\r\n"
                                        "    \"deDE\": \"\\\"q\\\"\"\r\n  }\r\n]\r\n");
}

TEST(TbltoolJson, IdBaseComesFromTheTablesNameOrTheOption) {
    EXPECT_EQ(IdBaseOfTableName("ExpansionString.tbl"), 20000);
    EXPECT_EQ(IdBaseOfTableName("db_ENG_patchstring.tbl"), 10000);
    EXPECT_EQ(IdBaseOfTableName("string.tbl"), 0);
    ScratchDir dir;
    ASSERT_TRUE(SaveTable(Arg(dir / "patchstring.tbl"), TableOf({u"a"}, {u"1"}), TblValueForm::Exact));
    std::string err;
    ASSERT_EQ(RunTbltoolQuietly({"tojson", Arg(dir / "patchstring.tbl"), Arg(dir / "t.json"), "--id-base", "7"}, err), ExitOk);
    EXPECT_NE(ReadText(dir / "t.json").find("\"id\": 7,"), std::string::npos);
}

TEST(TbltoolJson, IntoMatchesRowsByKeyAndOccurrenceKeepingTheFilesForm) {
    ScratchDir dir;
    WriteText(dir / "old.json", "[{\"id\": 5, \"Key\": \"a\", \"enUS\": \"A\", \"frFR\": \"Fr\", \"note\": 1},"
                                " {\"id\": 9, \"Key\": \"z\", \"deDE\": \"alt\"}, {\"id\": 2, \"Key\": \"a\", \"deDE\": \"x\"}]");
    ASSERT_TRUE(SaveTable(Arg(dir / "t.tbl"), TableOf({u"a", u"b", u"a"}, {u"Deutsch", u"neu", u"x"}), TblValueForm::Exact));
    std::string err;
    ASSERT_EQ(RunTbltoolQuietly({"tojson", Arg(dir / "t.tbl"), Arg(dir / "new.json"), "--lang", "deDE", "--into",
                                 Arg(dir / "old.json")},
                                err),
              ExitOk)
        << err;
    EXPECT_EQ(ReadText(dir / "new.json"),
              "[{\"id\": 5, \"Key\": \"a\", \"enUS\": \"A\", \"deDE\": \"Deutsch\", \"frFR\": \"Fr\", \"note\": 1},"
              " {\"id\": 9, \"Key\": \"z\", \"deDE\": \"alt\"}, {\"id\": 2, \"Key\": \"a\", \"deDE\": \"x\"},"
              " {\"id\": 10, \"Key\": \"b\", \"deDE\": \"neu\"}]");
    EXPECT_NE(err.find("3 entries: 2 rows matched, 1 appended"), std::string::npos) << err;
}

TEST(TbltoolJson, FromjsonTakesOneColumnInFileOrderWarningOfRepeatedIds) {
    ScratchDir dir;
    // No byte-order mark; a row without the column; an id given twice.
    WriteText(dir / "t.json", "[{\"id\": 3, \"Key\": \"k\", \"enUS\": \"third\", \"deDE\": \"dritte\"},"
                              " {\"id\": 1, \"Key\": \"k\", \"enUS\": \"first\\nline\"},"
                              " {\"id\": 3, \"Key\": \"x\", \"enUS\": \"\xC3\xBF" "c4two\"}]");
    std::string err;
    ASSERT_EQ(RunTbltoolQuietly({"fromjson", Arg(dir / "t.json"), Arg(dir / "en.tbl")}, err), ExitOk);
    EXPECT_NE(err.find("warning: ids given twice: 3"), std::string::npos) << err;
    const TableEntries en = LoadExactly(dir / "en.tbl");
    EXPECT_EQ(en.Keys, (Strings{u"k", u"k", u"x"}));
    EXPECT_EQ(en.Values, (Strings{u"third", u"first\nline", u"\u00FFc4two"}));
    ASSERT_EQ(RunTbltoolQuietly({"fromjson", Arg(dir / "t.json"), Arg(dir / "de.tbl"), "--lang", "deDE"}, err), ExitOk);
    EXPECT_EQ(LoadExactly(dir / "de.tbl").Values, (Strings{u"dritte", u"", u""}));
}

TEST(TbltoolJson, FromjsonRefusesBadFilesNamingTheLineAndWritesNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"[{\"id\": 1, \"Key\": \"a\"},\n {\"id\": 2, \"Key\": \"b\",]", "line 2"},
        {"[{\"id\": 1, \"Key\": \"a\"}, {\"id\": \"2\", \"Key\": \"b\"}]", "row 2 (line 1): \"id\" is a string, not a number"},
        {"[{\"id\": 1, \"Key\": 5}]", "row 1 (line 1): \"Key\" is a number, not a string"},
        {"[{\"id\": 1, \"Key\": \"a\", \"enUS\": null}]", "\"enUS\" is true, false or null, not a string"},
        {"{\"id\": 1}", "not a JSON array"},
        {"[{\"id\": 8, \"Key\": \"b\", \"enUS\": \"x\\u0000y\"}, {\"id\": 7, \"Key\": \"a\"}]",
         "t.json: row 1 (id 8): the value holds a zero character"},
        {"[{\"id\": 1, \"Key\": \"a\"}, {\"id\": 2, \"Key\": \"\\u4e2d\"}]",
         "t.json: row 2 (id 2): the key \"\xE4\xB8\xAD\" holds the character U+4E2D"},
    };
    for (const auto& [json, message] : cases) {
        ScratchDir dir;
        WriteText(dir / "t.json", json);
        std::string err;
        EXPECT_EQ(RunTbltoolQuietly({"fromjson", Arg(dir / "t.json"), Arg(dir / "t.tbl")}, err), ExitFailure) << json;
        EXPECT_NE(err.find(message), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(dir / "t.tbl")) << json;
    }
}

TEST(TbltoolJson, WrongLanguageIsWrongUsage) {
    std::string err;
    EXPECT_EQ(RunTbltoolQuietly({"tojson", "a.tbl", "b.json", "--lang", "enGB"}, err), ExitUsage);
    EXPECT_EQ(RunTbltoolQuietly({"fromjson", "a.json", "b.tbl", "--lang"}, err), ExitUsage);
    EXPECT_EQ(RunTbltoolQuietly({"tojson", "a.tbl", "b.json", "--id-base", "-5"}, err), ExitUsage);
}

TEST(TbltoolJson, EveryRealTableRoundTripsThroughJson) {
    SKIP_WITHOUT_REAL_DATA();
    int tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "tbl")) {
        ScratchDir dir;
        std::string err;
        ASSERT_EQ(RunTbltoolQuietly({"tojson", Arg(entry.path()), Arg(dir / "t.json")}, err), ExitOk) << err;
        ASSERT_EQ(RunTbltoolQuietly({"fromjson", Arg(dir / "t.json"), Arg(dir / "t.tbl")}, err), ExitOk) << err;
        const TableEntries original = LoadExactly(entry.path()), back = LoadExactly(dir / "t.tbl");
        EXPECT_EQ(back.Keys, original.Keys) << entry.path();
        EXPECT_EQ(back.Values, original.Values) << entry.path();
        ++tables;
    }
    EXPECT_EQ(tables, 7);
}

TEST(TbltoolJson, RealGameFilesReadInEveryLanguage) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir dir;
    std::string err;
    ASSERT_EQ(RunTbltoolQuietly({"fromjson", Arg(RealDataDir() / "json/fb_item-modifiers.json"), Arg(dir / "ko.tbl"), "--lang",
                       "koKR"},
                      err),
              ExitOk)
        << err;
    EXPECT_EQ(LoadExactly(dir / "ko.tbl").Keys.size(), 335u);
    ASSERT_EQ(RunTbltoolQuietly({"fromjson", Arg(RealDataDir() / "json/ri_4ed167b_item-modifiers.json"), Arg(dir / "de.tbl"),
                       "--lang", "deDE"},
                      err),
              ExitOk);
    const TableEntries de = LoadExactly(dir / "de.tbl");
    EXPECT_EQ(de.Keys.size(), 415u);
    EXPECT_EQ(std::count(de.Values.begin(), de.Values.end(), u""), 3);
    // The colour prefix stays the literal character through tojson.
    ASSERT_EQ(RunTbltoolQuietly({"tojson", Arg(dir / "de.tbl"), Arg(dir / "de.json"), "--lang", "deDE"}, err), ExitOk);
    const std::string json = ReadText(dir / "de.json");
    EXPECT_NE(json.find("\xC3\xBF" "c"), std::string::npos);
    EXPECT_EQ(json.find("\\u00ff"), std::string::npos);
}

// fromjson, an edit of the table, then tojson --into the original file: only the edited values'
// lines change, in every real file and in a copy of the game's file whose second row gives the
// first row's id and key again.
TEST(TbltoolJson, RealFilesChangeOnlyTheEditedLinesThroughATable) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir dir;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "json"))
        files.push_back(entry.path());
    std::string repeated = ReadText(RealDataDir() / "json/fb_item-modifiers.json");
    const size_t secondId = repeated.find("\"id\": ", repeated.find("\"id\": ") + 1) + 6;
    repeated.replace(secondId, repeated.find(',', secondId) - secondId, "3333");
    const size_t secondKey = repeated.find("\"Key\": \"", secondId) + 8;
    repeated.replace(secondKey, repeated.find('"', secondKey) - secondKey, "priceless");
    WriteText(dir / "repeated.json", repeated);
    files.push_back(dir / "repeated.json");
    for (const std::filesystem::path& file : files)
        for (const char* language : {"enUS", "deDE"}) {
            std::string err;
            ASSERT_EQ(RunTbltoolQuietly({"fromjson", Arg(file), Arg(dir / "t.tbl"), "--lang", language}, err), ExitOk) << err;
            TblDocument table;
            ASSERT_TRUE(LoadTable(Arg(dir / "t.tbl"), table, false, false));
            // The first two entries (the repeated key in the copy) and the last with a value.
            std::vector<size_t> edited = {0, 1, table.Count() - 1};
            while (table.Value(edited.back()).empty())
                --edited.back();
            for (const size_t i : edited)
                table.SetValue(i, table.Value(i) + u" (edited)");
            ASSERT_TRUE(SaveTable(Arg(dir / "t.tbl"), table, TblValueForm::Exact));
            ASSERT_EQ(RunTbltoolQuietly({"tojson", Arg(dir / "t.tbl"), Arg(dir / "out.json"), "--lang", language, "--into",
                                         Arg(file)},
                                        err),
                      ExitOk)
                << err;
            EXPECT_NE(err.find(std::to_string(table.Count()) + " rows matched, 0 appended"), std::string::npos) << err;
            const std::string original = ReadText(file), written = ReadText(dir / "out.json");
            const std::vector<size_t> changed = ChangedLines(original, written);
            ASSERT_EQ(changed.size(), edited.size()) << file << " " << language;
            const std::vector<std::string> lines = [&] {
                std::vector<std::string> result;
                std::istringstream in(written);
                for (std::string line; std::getline(in, line);)
                    result.push_back(line);
                return result;
            }();
            for (const size_t line : changed) {
                const std::string& text = lines.at(line);
                EXPECT_TRUE(text.find(std::string("\"") + language + "\": \"") != std::string::npos &&
                            text.ends_with(" (edited)\"") || text.ends_with(" (edited)\",") || text.ends_with(" (edited)\",\r"))
                    << text;
            }
        }
}

// The way a user meets tojson --into: the game's file saved by another program (Python's json,
// which writes its own indents and escapes), read into a table, one value edited, and written
// back into that file. Python's reader, not ours, then finds every row as it was, the edited
// value changed, and nothing else.
TEST(TbltoolJson, AFileSavedByAnotherProgramTakesAnEditThatPythonReadsBack) {
    SKIP_WITHOUT_REAL_DATA();
#ifdef _WIN32
    GTEST_SKIP() << "Python is not run from the Windows tests";
#else
    if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Python 3 is not installed";
    ScratchDir dir;
    const std::string game = (RealDataDir() / "json/fb_item-modifiers.json").string();
    const std::string saved = Arg(dir / "saved.json"), out = Arg(dir / "out.json");
    ASSERT_EQ(std::system(("python3 -c 'import json,sys; rows=json.load(open(sys.argv[1], encoding=\"utf-8-sig\")); "
                           "json.dump(rows, open(sys.argv[2], \"w\", encoding=\"utf-8\"), indent=1)' '" +
                           game + "' '" + saved + "'")
                              .c_str()),
              0);
    std::string err;
    ASSERT_EQ(RunTbltoolQuietly({"fromjson", saved, Arg(dir / "t.tbl"), "--lang", "deDE"}, err), ExitOk) << err;
    TblDocument table;
    ASSERT_TRUE(LoadTable(Arg(dir / "t.tbl"), table, false, false));
    table.SetValue(7, u"\u00FFc1Ge\u00E4ndert \"quoted\"\nline");
    ASSERT_TRUE(SaveTable(Arg(dir / "t.tbl"), table, TblValueForm::Exact));
    ASSERT_EQ(RunTbltoolQuietly({"tojson", Arg(dir / "t.tbl"), out, "--lang", "deDE", "--into", saved}, err), ExitOk)
        << err;
    const std::string compare =
        "python3 -c 'import json,sys; a=json.load(open(sys.argv[1], encoding=\"utf-8-sig\")); "
        "b=json.load(open(sys.argv[2], encoding=\"utf-8-sig\")); "
        "edited=\"\\u00ffc1Ge\\u00e4ndert \\\"quoted\\\"\\nline\"; "
        "ok = len(a)==len(b) and b[7][\"deDE\"]==edited and all(x==y for i,(x,y) in enumerate(zip(a,b)) if i!=7) "
        "and {k:v for k,v in a[7].items() if k!=\"deDE\"}=={k:v for k,v in b[7].items() if k!=\"deDE\"}; "
        "sys.exit(0 if ok else 1)' '" + saved + "' '" + out + "'";
    EXPECT_EQ(std::system(compare.c_str()), 0) << "Python reads other rows or values than were written";
#endif
}
