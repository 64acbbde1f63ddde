// Find and Replace under real key presses and clicks: Ctrl+H, the texts typed into its window,
// Tab between its fields, a click on Replace All, and Escape to close it.
#include "EndToEndTest.h"

#include "resource.h"

namespace {

using FindAndReplaceFlow = EndToEndTest;

TEST_F(FindAndReplaceFlow, ReplaceAllChangesEveryMatchAndCountsThemInTheStatusBar) {
    StrindleRun& run = Start({MakeTable("replace.tbl", {u"a", u"b", u"c"}, {u"The Stone of Jordan", u"plain", u"stone stone"})});
    ASSERT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
    Press("ctrl+h");
    HWND window = WaitForDialog(run, L"Find and Replace");
    ASSERT_NE(window, nullptr);
    TypeText("STONE");
    Press("Tab");
    TypeText("Gem");
    EXPECT_TRUE(Becomes([&] { return TextOf(GetDlgItem(window, IDC_REPLACE_WITH)); }, std::wstring(L"Gem")));
    Click(GetDlgItem(window, IDC_REPLACE_ALL));
    EXPECT_TRUE(Becomes([&] { return run.Status(0); }, std::wstring(L"3 replacements in 2 entries")));
    EXPECT_EQ(run.Value(), L"The Gem of Jordan");
    EXPECT_EQ(run.Title(), L"Strindle - replace.tbl*");
    EXPECT_EQ(run.Status(1), L"Not Saved");
    Press("Escape");  // closes the window, which may lie over the list
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    ClickRow(run, 2);
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"Gem Gem")));
}

}  // namespace
