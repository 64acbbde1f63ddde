// Keys and clicks on the key list, the Up and Down buttons and the value editor, as a user
// gives them.
#include "EndToEndTest.h"

#include "resource.h"

namespace {

class ListAndEditorInput : public EndToEndTest {
protected:
    StrindleRun& StartOn(std::vector<std::u16string> keys, std::vector<std::u16string> values) {
        StrindleRun& run = Start({MakeTable("input.tbl", std::move(keys), std::move(values))});
        EXPECT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
        return run;
    }
    StrindleRun& StartOnTableOf(int count) {
        StrindleRun& run = Start({MakeTableOf("input.tbl", count)});
        EXPECT_TRUE(Becomes([&] { return run.Status(1); }, std::wstring(L"Loaded")));
        return run;
    }
    void ClickRowAndWait(StrindleRun& run, int row) {
        ClickRow(run, row);
        EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{row}));
    }
};

// Go To adds its row to the selection, so Delete names every row it would take.
TEST_F(ListAndEditorInput, DeleteNamesTheRowsItTakesThoseOutOfSightToo) {
    StrindleRun& run = StartOnTableOf(60);
    ClickRowAndWait(run, 2);
    GoToIndex(run, "50");
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{2, 50}));
    Press("Delete");
    ASSERT_NE(WaitForDialog(run, L"Confirmation"), nullptr) << "Delete asks first";
    EXPECT_EQ(StaticTextsOf(run.Dialog(L"Confirmation")), std::vector<std::wstring>{L"Delete 2 entries (key2, key50)?"});
    AnswerDialog(run, L"Confirmation", "Return");
    EXPECT_TRUE(Becomes([&] { return RowCountOf(run.List()); }, 58));
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value3")));
    EXPECT_EQ(run.Title(), L"Strindle - input.tbl*");
    EXPECT_EQ(KeyOfRow(run, 2), L"key3");
}

TEST_F(ListAndEditorInput, RightClickOnAnUnselectedRowSelectsItAlone) {
    StrindleRun& run = StartOnTableOf(10);
    ClickRowAndWait(run, 2);
    ClickRow(run, 6, 3);
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{6}));
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"value6")));
    ASSERT_TRUE(WaitUntil([&] { return MenuShownBy(run.Id()); })) << "the list's menu opens";
    Press("Escape");
    EXPECT_TRUE(WaitUntil([&] { return !MenuShownBy(run.Id()); }));
}

TEST_F(ListAndEditorInput, RightClickOnASelectedRowKeepsTheSelection) {
    StrindleRun& run = StartOnTableOf(10);
    ClickRowAndWait(run, 2);
    Press("shift+Down shift+Down");
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{2, 3, 4}));
    ClickRow(run, 3, 3);
    ASSERT_TRUE(WaitUntil([&] { return MenuShownBy(run.Id()); }));
    EXPECT_EQ(run.Selected(), (std::vector<int>{2, 3, 4}));
    Press("Escape");
    EXPECT_TRUE(WaitUntil([&] { return !MenuShownBy(run.Id()); }));
}

TEST_F(ListAndEditorInput, QuickSecondClickOnUpOrDownMovesAgain) {
    StoreNumber(L"Advanced Mode", 1);
    StrindleRun& run = StartOnTableOf(10);
    ClickRowAndWait(run, 5);
    Click(GetDlgItem(run.Window(), IDC_UP), 1, 2);
    EXPECT_TRUE(Becomes([&] { return run.Caret(); }, 3));
    EXPECT_EQ(KeyOfRow(run, 3), L"key5");
    Click(GetDlgItem(run.Window(), IDC_DOWN), 1, 2);
    EXPECT_TRUE(Becomes([&] { return run.Caret(); }, 5));
    EXPECT_EQ(KeyOfRow(run, 5), L"key5");
}

TEST_F(ListAndEditorInput, TabAndShiftTabMoveTheFocusAndKeepTheValuesTab) {
    StrindleRun& run = StartOn({u"a", u"b"}, {u"one", u"left\tright"});
    ClickRowAndWait(run, 1);
    EXPECT_TRUE(Becomes([&] { return run.FocusedControl(); }, IDC_KEYLIST));
    Press("Tab");
    EXPECT_TRUE(Becomes([&] { return run.FocusedControl(); }, IDC_VALUE));
    Press("Tab");
    EXPECT_TRUE(Becomes([&] { return run.FocusedControl(); }, IDC_KEYLIST)) << "Tab leaves the editor";
    Press("shift+Tab");
    EXPECT_TRUE(Becomes([&] { return run.FocusedControl(); }, IDC_VALUE));
    Press("shift+Tab");
    EXPECT_TRUE(Becomes([&] { return run.FocusedControl(); }, IDC_KEYLIST)) << "Shift+Tab leaves the editor";
    EXPECT_EQ(run.Value(), L"left\tright") << "no TAB typed, the held one kept";
    EXPECT_EQ(run.Title(), L"Strindle - input.tbl");
}

TEST_F(ListAndEditorInput, SearchHitInAValueIsMarkedWhileTheListKeepsTheFocus) {
    StrindleRun& run = StartOn({u"a", u"b", u"c"}, {u"one", u"the target here", u"three"});
    ClickRowAndWait(run, 0);
    Press("ctrl+f");
    ASSERT_NE(WaitForDialog(run, L"Search"), nullptr);
    TypeText("target");
    Press("Return");
    EXPECT_TRUE(Becomes([&] { return run.Selected(); }, std::vector<int>{1}));
    EXPECT_TRUE(Becomes([&] { return EditSelectionOf(run.Editor()); }, std::pair<int, int>{4, 10}));
    EXPECT_TRUE(Becomes([&] { return run.FocusedControl(); }, IDC_KEYLIST));
    Press("Down");
    EXPECT_TRUE(Becomes([&] { return run.Value(); }, std::wstring(L"three"))) << "the key went to the list";
    EXPECT_EQ(run.Title(), L"Strindle - input.tbl") << "nothing was typed over";
}

}  // namespace
