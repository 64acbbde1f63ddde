// A translator's flows: a D2R string file edited in the language chosen on the toolbar, and a
// table gone through against its reference with F8.
#include "EndToEndTest.h"

#include "resource.h"

#include <algorithm>

namespace {

using TranslationFlow = EndToEndTest;

constexpr int ToolbarId = 0xE800;

HWND LanguageBoxOf(const StrindleRun& run) { return GetDlgItem(GetDlgItem(run.Window(), ToolbarId), IDC_LANGUAGE); }

TEST_F(TranslationFlow, AD2rFileEditedInTheChosenLanguageSavesWithOnlyThatLineChanged) {
    SKIP_WITHOUT_REAL_DATA();
    const std::filesystem::path path = scratch_ / "item-modifiers.json";
    WriteBytes(path, ReadBytes(RealDataDir() / "json" / "ri_4ed167b_item-modifiers.json"));  // writable
    const std::string original = ReadText(path);
    StrindleRun& run = StartLoaded(path.wstring());
    EXPECT_EQ(run.Status(3), L"Id: 3333");
    EXPECT_EQ(run.Value(), L"Item cannot be traded here.");

    Click(LanguageBoxOf(run));
    Press("d Return");  // the first language starting with D: deDE
    ASSERT_TRUE(Becomes([&] { return TextOf(LanguageBoxOf(run)); }, std::wstring(L"deDE")));
    EXPECT_TRUE(Becomes([&] { return run.Value(); },
                        std::wstring(L"Hier ist ein Handel mit diesem Gegenstand nicht m\u00f6glich.")));

    ClickRow(run, 1);
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"Gesockelt (%i)")));
    EXPECT_EQ(run.Status(3), L"Id: 3453");
    Click(run.Editor());
    Press("ctrl+End");
    TypeText(" neu");
    Press("ctrl+s");
    ASSERT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Saved")));

    const std::string saved = ReadText(path);
    const std::vector<size_t> changed = ChangedLines(original, saved);
    ASSERT_EQ(changed.size(), 1u);
    const size_t lineStart = saved.find("\"deDE\": \"Gesockelt (%i) neu\",");
    ASSERT_NE(lineStart, std::string::npos);
    EXPECT_EQ(static_cast<size_t>(std::count(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(lineStart), '\n')),
              changed[0]);
}

TEST_F(TranslationFlow, F8GoesThroughTheEntriesThatDifferFromTheReference) {
    const std::string reference = "[\n  {\"id\": 1, \"Key\": \"level\", \"enUS\": \"Level %d %s Aura\"},\n"
                                  "  {\"id\": 2, \"Key\": \"fine\", \"enUS\": \"Fine\"},\n"
                                  "  {\"id\": 3, \"Key\": \"lines\", \"enUS\": \"one\\ntwo\"}\n]\n";
    const std::filesystem::path referencePath = scratch_ / "reference.json";
    WriteBytes(referencePath, {reference.begin(), reference.end()});
    StrindleRun& run = StartLoaded(MakeTable("de.tbl", {u"level", u"fine", u"lines", u"own"},
                                             {u"%s-Aura Level %d", u"Gut", u"eins zwei", u"x"}));

    Press("ctrl+r");
    ASSERT_NE(WaitForDialog(run, L"Reference"), nullptr);
    TypeText(referencePath.string());
    Press("Return");
    const HWND referenceView = GetDlgItem(run.Window(), IDC_REFERENCE);
    ASSERT_TRUE(Becomes([&] { return TextOf(referenceView); }, std::wstring(L"Level %d %s Aura")));
    EXPECT_EQ(run.Status(0), L"placeholders: %d %s in the reference, %s %d here");

    ClickRow(run, 1);
    ASSERT_TRUE(Becomes([&] { return TextOf(referenceView); }, std::wstring(L"Fine")));
    Press("F8");
    EXPECT_TRUE(Becomes([&] { return run.Caret(); }, 2));
    EXPECT_EQ(TextOf(referenceView), L"one\r\ntwo");
    EXPECT_EQ(run.Status(0), L"lines: 1 line feed in the reference, 0 here");
    Press("F8");
    EXPECT_TRUE(Becomes([&] { return run.Caret(); }, 3));
    EXPECT_EQ(run.Status(0), L"extra: not in the reference");
    Press("shift+F8 shift+F8");
    EXPECT_TRUE(Becomes([&] { return run.Caret(); }, 0));

    // Mending the value takes the entry out of the round.
    Click(run.Editor());
    Press("ctrl+Home ctrl+shift+End");
    TypeText("Stufe %d %s-Aura");
    EXPECT_TRUE(Becomes([&] { return run.Status(0); }, std::wstring(L"Ready.")));
    ClickRow(run, 3);
    Press("F8");
    EXPECT_TRUE(Becomes([&] { return run.Caret(); }, 2));
    Press("F8");
    EXPECT_TRUE(Becomes([&] { return run.Caret(); }, 3));
}

}  // namespace
