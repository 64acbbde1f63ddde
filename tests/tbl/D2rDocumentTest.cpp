#include "TblDocument.h"

#include "TestSupport.h"
#include "Utf.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const size_t English = D2rLanguageIndex("enUS"), German = D2rLanguageIndex("deDE"),
             French = D2rLanguageIndex("frFR");

void Save(TblDocument& doc, const std::filesystem::path& path) {
    const Result saved = doc.Compile(path.u16string(), false);
    ASSERT_TRUE(saved.Ok) << saved.Message;
}

// The saved file as an independent read gives it: "id Key enUS deDE frFR" a row.
std::vector<std::string> RowsOf(const std::filesystem::path& path) {
    D2rFile file;
    std::string error;
    EXPECT_TRUE(file.Read(ReadText(path), error)) << error;
    std::vector<std::string> rows;
    for (const D2rRow& row : file.Rows()) {
        std::string text = row.IdText + " " + row.KeyField().Text;
        for (size_t language : {English, German, French})
            text += " " + (row.Find(language) ? row.Find(language)->Text : std::string("-"));
        rows.push_back(text);
    }
    return rows;
}

}  // namespace

TEST(D2rDocument, RealFilesSaveUntouchedToTheSameBytesAndAnEditInOneLanguageChangesOneLine) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir scratch;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "json")) {
        const std::string original = ReadText(entry.path());
        TblDocument doc;
        ASSERT_TRUE(doc.Load(entry.path().u16string(), false).Ok) << entry.path();
        ASSERT_TRUE(doc.IsD2r());
        Save(doc, scratch / "same.json");
        EXPECT_EQ(ReadText(scratch / "same.json"), original) << entry.path();

        doc.SetLanguage(German);
        const size_t middle = doc.Count() / 2;
        doc.SetValue(middle, u"Ge\u00e4ndert");
        Save(doc, scratch / "edited.json");
        const std::string edited = ReadText(scratch / "edited.json");
        EXPECT_EQ(ChangedLines(original, edited).size(), 1u) << entry.path();
        doc.SetLanguage(English);
        EXPECT_NE(doc.Value(middle), u"Ge\u00e4ndert");
    }
}

TEST(D2rDocument, EditsOfEveryKindSaveInTheFilesFormAndUndoBringsBackEveryLanguage) {
    ScratchDir scratch;
    const std::string input =
        "[\n    {\n        \"id\": 7,\n        \"Key\": \"a\",\n        \"enUS\": \"A\",\n        \"deDE\": \"\\u00c4\"\n"
        "    },\n    {\n        \"id\": 30,\n        \"Key\": \"b\",\n        \"enUS\": \"B\"\n    },\n"
        "    {\n        \"id\": 30,\n        \"Key\": \"c\",\n        \"enUS\": \"C\"\n    }\n]";
    WriteBytes(scratch / "in.json", {input.begin(), input.end()});
    TblDocument doc;
    ASSERT_TRUE(doc.Load((scratch / "in.json").u16string(), false).Ok);
    EXPECT_EQ(doc.RepeatedIds(), std::vector<std::string>{"30"});
    EXPECT_EQ(doc.Id(1), "30");

    // Values of two languages, then Undo while the other language shows.
    doc.SetLanguage(German);
    doc.SetValue(0, u"\u00c4\u00c4");
    doc.SetLanguage(French);
    doc.SetValue(0, u"\u00c0");
    size_t focus = 0;
    ASSERT_TRUE(doc.Undo(focus));
    EXPECT_EQ(doc.Value(0), u"");
    doc.SetLanguage(German);
    EXPECT_EQ(doc.Value(0), u"\u00c4\u00c4");

    // A new key takes the next free id and its value in every language; rows move and go.
    ASSERT_TRUE(doc.Insert(1, u"new", u"N"));
    EXPECT_EQ(doc.Id(1), "31");
    doc.Move(3, 0);
    doc.Remove(3);
    Save(doc, scratch / "out.json");
    EXPECT_EQ(RowsOf(scratch / "out.json"),
              (std::vector<std::string>{"30 c C - -", "7 a A \u00c4\u00c4 -", "31 new N N N"}));
    const std::string out = ReadText(scratch / "out.json");
    EXPECT_NE(out.find("\"deDE\": \"\\u00c4\\u00c4\""), std::string::npos) << "the file's escaping";
    EXPECT_EQ(out.find('\r'), std::string::npos);

    // Undo after the save brings the removed row back with its id; the others keep theirs.
    ASSERT_TRUE(doc.Undo(focus));
    EXPECT_TRUE(doc.Modified);
    Save(doc, scratch / "out.json");
    EXPECT_EQ(RowsOf(scratch / "out.json"),
              (std::vector<std::string>{"30 c C - -", "7 a A \u00c4\u00c4 -", "31 new N N N", "30 b B - -"}));
    ASSERT_TRUE(doc.Undo(focus));
    ASSERT_TRUE(doc.Undo(focus));
    Save(doc, scratch / "out.json");
    EXPECT_EQ(RowsOf(scratch / "out.json"),
              (std::vector<std::string>{"7 a A \u00c4\u00c4 -", "30 b B - -", "30 c C - -"}));
}

TEST(D2rDocument, BrokenFilesAreRefusedWithTheLineAndLeaveNothingOpen) {
    ScratchDir scratch;
    const std::string broken = "[\n  {\"id\": 1, \"Key\": \"a\"},\n  {\"id\": 2, \"Key\": }\n]";
    WriteBytes(scratch / "broken.json", {broken.begin(), broken.end()});
    TblDocument doc;
    const Result loaded = doc.Load((scratch / "broken.json").u16string(), false);
    EXPECT_FALSE(loaded.Ok);
    EXPECT_NE(loaded.Message.find("line 3"), std::string::npos) << loaded.Message;
    EXPECT_EQ(doc.Count(), 0u);
    std::vector<std::string> unreadable;
    EXPECT_FALSE(doc.Rescue((scratch / "broken.json").u16string(), false, unreadable).Ok);
}

// The game's file as another program saves it (Python's writer: indents of 1, every non-ASCII
// character escaped), edited as a user edits it in the window, and saved: Python's reader, not
// ours, finds each edit and every other row as it was.
TEST(D2rDocument, AFileSavedByAnotherProgramTakesEditsThatPythonReadsBack) {
    SKIP_WITHOUT_REAL_DATA();
#ifdef _WIN32
    GTEST_SKIP() << "Python is not run from the Windows tests";
#else
    if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Python 3 is not installed";
    ScratchDir scratch;
    const std::string game = (RealDataDir() / "json/fb_item-modifiers.json").string();
    const std::string saved = (scratch / "saved.json").string(), out = (scratch / "out.json").string();
    ASSERT_EQ(std::system(("python3 -c 'import json,sys; rows=json.load(open(sys.argv[1], encoding=\"utf-8-sig\")); "
                           "json.dump(rows, open(sys.argv[2], \"w\", encoding=\"utf-8\"), indent=1)' '" +
                           game + "' '" + saved + "'")
                              .c_str()),
              0);
    TblDocument doc;
    ASSERT_TRUE(doc.Load(scratch.Path().u16string() + u"/saved.json", false).Ok);
    doc.SetLanguage(French);
    doc.SetValue(7, u"\u00FFc1Modifi\u00E9 \"cit\u00E9\"\nligne");
    doc.SetKey(3, u"Renamed");
    doc.Remove(5);
    doc.Move(0, doc.Count() - 1);
    ASSERT_TRUE(doc.Insert(doc.Count(), u"new", u"N"));
    Save(doc, scratch / "out.json");
    const std::string compare =
        "python3 -c 'import json,sys; a=json.load(open(sys.argv[1], encoding=\"utf-8-sig\")); "
        "b=json.load(open(sys.argv[2], encoding=\"utf-8-sig\")); "
        "new={\"id\": max(r[\"id\"] for r in a)+1, \"Key\": \"new\"}; "
        "a[7][\"frFR\"]=\"\\u00ffc1Modifi\\u00e9 \\\"cit\\u00e9\\\"\\nligne\"; a[3][\"Key\"]=\"Renamed\"; del a[5]; "
        "new.update({k: \"N\" for k in a[0] if k not in (\"id\", \"Key\")}); a.append(a.pop(0)); a.append(new); "
        "sys.exit(0 if a==b else 1)' '" + saved + "' '" + out + "'";
    EXPECT_EQ(std::system(compare.c_str()), 0) << "Python reads other rows or values than were written";
#endif
}
