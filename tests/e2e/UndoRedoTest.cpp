// Undo and Redo under real key presses: every step comes back off, down to the file as it was
// opened, and every step is done again.
#include "EndToEndTest.h"

#include "resource.h"

namespace {

class UndoRedo : public EndToEndTest {
protected:
    // Opens the key list's menu on `row` and chooses the item `downs` presses down.
    void ChooseFromRowMenu(const StrindleRun& run, int row, const std::string& downs) {
        ClickRow(run, row, 3);
        ASSERT_TRUE(WaitUntil([&] { return MenuShownBy(run.Id()); }));
        Press(downs + " Return");
        ASSERT_TRUE(WaitUntil([&] { return !MenuShownBy(run.Id()); }));
    }
};

TEST_F(UndoRedo, EveryStepComesOffToTheFileAsOpenedAndIsDoneAgain) {
    const std::wstring path = MakeTableOf("undo.tbl", 6);
    const std::vector<uint8_t> opened = ReadBytes(path);
    StrindleRun& run = StartLoaded(path);

    // Typing, taken back and redone from the value editor itself: one history.
    ClickRow(run, 1);
    Click(run.Editor());
    Press("ctrl+End");
    TypeText(" edited");
    ASSERT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value1 edited")));
    Press("ctrl+z");
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value1")));
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - undo.tbl")));
    Press("ctrl+y");
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value1 edited")));

    ClickRow(run, 4);
    Press("Delete");
    AnswerDialog(run, L"Confirmation", "Return");
    ASSERT_TRUE(Becomes([&] { return RowCountOf(run.List()); }, 5));

    ClickRow(run, 0);
    Press("shift+Down shift+Down");
    ASSERT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{0, 1, 2}));
    ChooseFromRowMenu(run, 0, "Down Down Down");  // "Copy Selected"
    ChooseFromRowMenu(run, 0, "Down Down Down Down Down");  // "Paste Into"
    ASSERT_TRUE(Becomes([&] { return RowCountOf(run.List()); }, 8));
    const std::vector<std::wstring> edited = Keys(run, 8);

    Press("ctrl+h");
    HWND replace = WaitForDialog(run, L"Find and Replace");
    ASSERT_NE(replace, nullptr);
    TypeText("value");
    Press("Tab");
    TypeText("worth");
    ASSERT_TRUE(Becomes([&] { return TextOf(GetDlgItem(replace, IDC_REPLACE_WITH)); }, std::wstring(L"worth")));
    Click(GetDlgItem(replace, IDC_REPLACE_ALL));
    ASSERT_TRUE(Becomes([&] { return run.Status(0); }, std::wstring(L"8 replacements in 8 entries")));
    Press("Escape");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(replace); }));

    // Each Ctrl+Z takes one step back: the star goes with the fourth.
    const int rowsAfterEachUndo[] = {8, 5, 6, 6};
    for (int rows : rowsAfterEachUndo) {
        EXPECT_TRUE(run.Title().ends_with(L"*"));
        Press("ctrl+z");
        EXPECT_TRUE(Becomes([&] { return RowCountOf(run.List()); }, rows));
    }
    EXPECT_TRUE(Becomes([&] { return run.Title(); }, std::wstring(L"Strindle - undo.tbl")));
    EXPECT_EQ(run.Value(), L"value1") << "the last undo shows the entry it changed";
    EXPECT_EQ(run.Status(1), L"Loaded");
    Press("ctrl+s");
    ASSERT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Saved")));
    EXPECT_EQ(ReadBytes(path), opened);

    for (int i = 0; i < 4; ++i)
        Press("ctrl+y");
    EXPECT_TRUE(WaitUntil([&] { return run.Value().starts_with(L"worth"); }))
        << "Replace All, redone last, shows an entry it changed";
    EXPECT_EQ(Keys(run, 8), edited);
    ClickRow(run, 1);
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"worth1 edited")));
    EXPECT_EQ(run.Title(), L"Strindle - undo.tbl*");
}

}  // namespace
