#include "KeyEditingFixture.h"

#include "ModalDialogProbe.h"
#include "WideText_win.h"

#include <richedit.h>

namespace {

bool RadioChecked(HWND dialog, int id) { return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Add Key: fills the dialog with `name` and the radio button `place`, then presses `closeWith`.
class AddKey : public KeyEditingTest {
protected:
    bool RunAddKey(const std::wstring& name, int place, int closeWith = IDOK) {
        return InspectModalDialog([&] { SendCommand(ID_EDIT_ADDKEY); },
                                  [&](HWND dialog) {
                                      EXPECT_EQ(WindowText(dialog), L"Add Index String");
                                      EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_NEWKEYNAME)), L"");
                                      EXPECT_TRUE(RadioChecked(dialog, IDC_APPENDTOEND));
                                      EXPECT_FALSE(RadioChecked(dialog, IDC_INSERTATROW));
                                      SetDlgItemTextW(dialog, IDC_NEWKEYNAME, name.c_str());
                                      CheckRadioButton(dialog, IDC_APPENDTOEND, IDC_INSERTATROW, place);
                                  },
                                  closeWith);
    }
};

TEST_F(AddKey, AppendToEndAddsTheLastRowWithAnEmptyValueSelectedAlone) {
    OpenTableOf(10);
    SelectRows({2, 4});
    ASSERT_TRUE(RunAddKey(L"abc", IDC_APPENDTOEND));
    std::vector<std::wstring> expected = Numbered(L"key", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    expected.push_back(L"abc");
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(SelectedRows(), std::vector<int>{10});
    EXPECT_EQ(CaretRow(), 10);
    EXPECT_EQ(EditorText(), L"");
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Status(2), L"Index: 10(Ah)/10(Ah)");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

TEST_F(AddKey, InsertAtRowPutsTheEntryAtTheCaretAndMovesTheRestDown) {
    OpenTableOf(10);
    SelectRows({1, 3});
    ASSERT_TRUE(RunAddKey(L"new", IDC_INSERTATROW));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"key0", L"key1", L"key2", L"new", L"key3", L"key4", L"key5", L"key6",
                                                 L"key7", L"key8", L"key9"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
    EXPECT_EQ(EditorText(), L"");
    EXPECT_EQ(Status(2), L"Index: 3(3h)/10(Ah)");
    SelectRows({4});
    EXPECT_EQ(EditorText(), L"value3");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

TEST_F(AddKey, InsertAtRowIntoAnEmptyTableAcceptsAnEmptyName) {
    OpenWindow();
    ASSERT_TRUE(RunAddKey(L"", IDC_INSERTATROW));
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L""});
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    EXPECT_FALSE(MenuItemGrayed(Window(), ID_EDIT_DELETEKEY));
    EXPECT_TRUE(IsWindowEnabled(Dialog().ValueEditor()));
    EXPECT_EQ(Title(), L"Strindle - Untitled*");
}

TEST_F(AddKey, EmptyNameAppendsNothingButMarksModified) {
    OpenTableOf(3);
    ASSERT_TRUE(RunAddKey(L"", IDC_APPENDTOEND));
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2}));
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

TEST_F(AddKey, CancelChangesNothing) {
    OpenTableOf(3);
    SelectRows({1});
    ASSERT_TRUE(RunAddKey(L"abc", IDC_APPENDTOEND, IDCANCEL));
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(Status(1), L"Loaded");
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
}

TEST_F(AddKey, FullTableRefusesTheEntryAndSaysSo) {
    std::vector<std::u16string> keys(TblMaxEntries, u"k"), values(TblMaxEntries, u"v");
    OpenTable(keys, values);
    ASSERT_TRUE(RunAddKey(L"one more", IDC_APPENDTOEND));
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"The table holds 65535 entries, the most a table can hold. No key was added.");
    EXPECT_EQ(Dialog().KeyList().Count(), 65535);
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
}

class DeleteKey : public KeyEditingTest {
protected:
    void DeleteAnswering(int answer) {
        prompts_.MessageAnswers.push_back(answer);
        SendCommand(ID_EDIT_DELETEKEY);
    }
};

TEST_F(DeleteKey, AsksThenRemovesTheSelectedRowsAndSelectsTheNextRemaining) {
    OpenTableOf(10);
    SelectRows({2, 5, 6});
    DeleteAnswering(IDYES);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"Delete 3 entries (key2, key5, key6)?");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Confirmation");
    EXPECT_EQ(prompts_.Messages[0].Type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 3, 4, 7, 8, 9}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(CaretRow(), 2);
    EXPECT_EQ(EditorText(), L"value3");
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Status(2), L"Index: 2(2h)/6(6h)");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
    // The rows still show their entries' values: list and table are in step.
    SelectRows({5});
    EXPECT_EQ(EditorText(), L"value8");
}

// Rows chosen out of sight (Go To adds to the selection) are named before they go.
TEST_F(DeleteKey, TheQuestionCountsTheEntriesAndNamesTheFirstFew) {
    const std::u16string longKey(60, u'x');
    const struct {
        std::vector<int> Rows;
        std::wstring Question;
    } cases[] = {
        {{1}, L"Delete 1 entry (WarrivGossip1)?"},
        {{0, 1, 2, 3}, L"Delete 4 entries (\"\", WarrivGossip1, Brute, \u2026)?"},
        {{4}, L"Delete 1 entry (" + std::wstring(39, L'x') + L"\u2026)?"},
    };
    OpenTable({u"", u"WarrivGossip1", u"Brute", u"Cow", longKey}, {u"a", u"b", u"c", u"d", u"e"});
    for (const auto& c : cases) {
        SelectRows(c.Rows);
        DeleteAnswering(IDNO);
        ASSERT_FALSE(prompts_.Messages.empty());
        EXPECT_EQ(prompts_.Messages.back().Text, c.Question);
    }
    EXPECT_EQ(Rows().size(), 5u);
}

TEST_F(DeleteKey, KeepsTheRowsInViewWhereTheyWere) {
    OpenTableOf(300);
    HWND list = Dialog().KeyList().Handle();
    SendMessageW(list, LB_SETTOPINDEX, 150, 0);
    SelectRows({155});
    DeleteAnswering(IDYES);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 150);
    EXPECT_EQ(CaretRow(), 155);
}

TEST_F(DeleteKey, NoChangesNothing) {
    OpenTableOf(5);
    SelectRows({1, 3});
    DeleteAnswering(IDNO);
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2, 3, 4}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(Status(1), L"Loaded");
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
}

TEST_F(DeleteKey, RemovingTheLastRowsSelectsNothingAndShowsTheNewLastEntry) {
    OpenTableOf(10);
    SelectRows({8, 9});
    DeleteAnswering(IDYES);
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(SelectedRows().empty());
    EXPECT_EQ(CaretRow(), 7);
    EXPECT_EQ(EditorText(), L"value7");
    EXPECT_EQ(Status(2), L"Index: 7(7h)/7(7h)");
}

TEST_F(DeleteKey, DeletingEveryEntryGreysTheEntryCommandsAndKeepsTheEditorText) {
    OpenTableOf(4);
    SelectRows({1});
    SendCommand(ID_EDIT_SELECTALL);
    DeleteAnswering(IDYES);
    EXPECT_TRUE(Rows().empty());
    for (UINT id : EntryMenuCommands)
        EXPECT_TRUE(MenuItemGrayed(Window(), id)) << id;
    for (UINT id : EntryToolbarButtons)
        EXPECT_FALSE(ToolbarButtonEnabled(Dialog().Toolbar(), id)) << id;
    EXPECT_EQ(EditorText(), L"value1");
    EXPECT_TRUE(GetWindowLongW(Dialog().ValueEditor(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

TEST_F(DeleteKey, WithoutASelectedRowAsksNothingAndAsksAgainNextTime) {
    OpenTableOf(3);
    SelectRows({1});
    Dialog().DeselectAll();
    SendCommand(ID_EDIT_DELETEKEY);
    EXPECT_TRUE(prompts_.Messages.empty());
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2}));
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
    SelectRows({0});
    DeleteAnswering(IDNO);
    EXPECT_EQ(prompts_.Messages.size(), 1u);
}

TEST_F(DeleteKey, AcceleratorOfTheGreyedItemSendsNothing) {
    OpenTableOf(2);
    HACCEL accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE pressed[256];
    std::copy(std::begin(keys), std::end(keys), pressed);
    pressed[VK_CONTROL] = 0x80;
    SetKeyboardState(pressed);
    auto pressCtrlD = [&] {
        MSG key{Window(), WM_KEYDOWN, 'D', 0x00200001, 0, {}};
        return TranslateAcceleratorW(Window(), accelerators, &key) != 0;
    };
    SelectRows({0});
    prompts_.MessageAnswers.push_back(IDYES);
    pressCtrlD();
    EXPECT_EQ(Rows(), Numbered(L"key", {1}));
    SelectRows({0});
    prompts_.MessageAnswers.push_back(IDYES);
    pressCtrlD();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(prompts_.Messages.size(), 2u);
    pressCtrlD();  // the item is greyed now: nothing is asked
    EXPECT_EQ(prompts_.Messages.size(), 2u);
    SetKeyboardState(keys);
}

class EditKeyString : public KeyEditingTest {
protected:
    // The list's notification of a double click on the caret row.
    void DoubleClick() {
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_KEYLIST, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(Dialog().KeyList().Handle()));
    }
};

TEST_F(EditKeyString, DoubleClickRenamesTheKeyAndKeepsTheValue) {
    OpenTableOf(5);
    SelectRows({1, 3});
    std::wstring shown;
    ASSERT_TRUE(InspectModalDialog(
        [&] { DoubleClick(); },
        [&](HWND dialog) {
            EXPECT_EQ(WindowText(dialog), L"Edit Key String");
            shown = WindowText(GetDlgItem(dialog, IDC_KEYTEXT));
            SetDlgItemTextW(dialog, IDC_KEYTEXT, L"key0");  // a duplicate key is accepted
        }));
    EXPECT_EQ(shown, L"key3");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"key0", L"key1", L"key2", L"key0", L"key4"}));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(CaretRow(), 3);
    EXPECT_EQ(EditorText(), L"value3");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

TEST_F(EditKeyString, OkWithTheSameTextMarksModifiedAndCancelDoesNot) {
    OpenTableOf(3);
    SelectRows({2});
    ASSERT_TRUE(InspectModalDialog(
        [&] { DoubleClick(); },
        [&](HWND dialog) { SetDlgItemTextW(dialog, IDC_KEYTEXT, L"changed"); }, IDCANCEL));
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2}));
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
    ASSERT_TRUE(InspectModalDialog(
        [&] { DoubleClick(); },
        [](HWND) {}));
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2}));
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
}

class MoveEntry : public KeyEditingTest {
protected:
    void SetUp() override {
        KeyEditingTest::SetUp();
        StoreNumber(L"Advanced Mode", 1);
    }
};

TEST_F(MoveEntry, UpExchangesWithTheRowAboveAndShowsTheMovedEntry) {
    OpenTableOf(5);
    ASSERT_TRUE(ShownWithParent(GetDlgItem(Window(), IDC_UP)));
    SelectRows({3});
    ClickButton(IDC_UP);
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 3, 2, 4}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(CaretRow(), 2);
    EXPECT_EQ(EditorText(), L"value3");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
    EXPECT_EQ(Status(1), L"Not Saved");
    SelectRows({3});
    EXPECT_EQ(EditorText(), L"value2");
}

TEST_F(MoveEntry, DownExchangesWithTheRowBelow) {
    OpenTableOf(5);
    SelectRows({1});
    ClickButton(IDC_DOWN);
    ClickButton(IDC_DOWN);
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 2, 3, 1, 4}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
    EXPECT_EQ(EditorText(), L"value1");
    EXPECT_EQ(Status(2), L"Index: 3(3h)/4(4h)");
}

TEST_F(MoveEntry, UpOnTheFirstRowAndDownOnTheLastLeaveTheTableClean) {
    OpenTableOf(3);
    SelectRows({0});
    ClickButton(IDC_UP);
    SelectRows({2});
    ClickButton(IDC_DOWN);
    EXPECT_EQ(Rows(), Numbered(L"key", {0, 1, 2}));
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
    EXPECT_EQ(Status(1), L"Loaded");
}

TEST_F(KeyEditingTest, SelectAllSelectsEveryRowAndLeavesCaretEditorAndStatusAlone) {
    OpenTableOf(10);
    SelectRows({3});
    SendMessageW(Dialog().ValueEditor(), EM_SETSEL, 1, 4);
    std::wstring status[4] = {Status(0), Status(1), Status(2), Status(3)};
    SendCommand(ID_EDIT_SELECTALL);
    EXPECT_EQ(SelectedRows().size(), 10u);
    EXPECT_EQ(CaretRow(), 3);
    EXPECT_EQ(EditorText(), L"value3");
    EXPECT_EQ(EditorSelection(), std::make_pair(1, 4));
    for (int part = 0; part < 4; ++part)
        EXPECT_EQ(Status(part), status[part]) << part;
    EXPECT_EQ(Title(), L"Strindle - table.tbl");
}

TEST_F(KeyEditingTest, RedOverSelectedLettersReplacesThemAndMarksModified) {
    OpenTable({u"a", u"b"}, {u"one", u"xabcx"});
    SelectRows({1});
    SendMessageW(Dialog().ValueEditor(), EM_SETSEL, 1, 4);
    SendCommand(ID_COLOR_FIRST);
    EXPECT_EQ(EditorText(), L"x\\red;x");
    EXPECT_EQ(EditorSelection(), std::make_pair(6, 6));
    EXPECT_FALSE(SendMessageW(Dialog().ValueEditor(), EM_CANUNDO, 0, 0));
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Title(), L"Strindle - table.tbl*");
    // The new text is the entry's value.
    SelectRows({0});
    SelectRows({1});
    EXPECT_EQ(EditorText(), L"x\\red;x");
}

TEST_F(KeyEditingTest, ColourItemsInsertTheirTokensInMenuOrder) {
    OpenTableOf(1);
    for (UINT id = ID_COLOR_FIRST; id <= ID_COLOR_LAST; ++id) {
        int end = GetWindowTextLengthW(Dialog().ValueEditor());
        SendMessageW(Dialog().ValueEditor(), EM_SETSEL, end, end);
        SendCommand(id);
    }
    EXPECT_EQ(EditorText(), L"value0\\red;\\green;\\blue;\\yellow;\\gold;\\tan;\\purple;\\white;\\orange;\\grey;"
                            L"\\dgrey;\\dgreen;\\black;");
}

TEST_F(KeyEditingTest, ColourItemWithoutEntriesOnlyMarksModified) {
    OpenWindow();
    SendCommand(ID_COLOR_FIRST + 4);
    EXPECT_EQ(EditorText(), L"");
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Title(), L"Strindle - Untitled*");
}

}  // namespace
