// Find and Replace: its window, Find Next and Replace walking the matches, Replace All, and
// the refusal of a result the .tbl format cannot hold.
#include "SearchTestSupport.h"

#include "WideText_win.h"

#include <algorithm>

namespace {

using Texts = std::vector<std::wstring>;

class FindAndReplace : public SearchWindowTest {
protected:
    void TearDown() override {
        CloseReplaceWindow();
        SearchWindowTest::TearDown();
    }
    // A window still shown would slow its destruction under Wine.
    void CloseReplaceWindow() {
        if (ReplaceWindow())
            Press(IDCANCEL);
    }
    // A new main window over this table, the one before gone with its Find and Replace.
    void OpenAfresh(std::vector<std::u16string> keys, std::vector<std::u16string> values) {
        CloseReplaceWindow();
        dialog_.reset();
        prompts_.Messages.clear();
        OpenTable(std::move(keys), std::move(values));
    }
    HWND ReplaceWindow() const {
        HWND window = FindWindowW(L"#32770", L"Find and Replace");
        return window && GetWindow(window, GW_OWNER) == dialog_->Handle() ? window : nullptr;
    }
    // Ctrl+H, then the fields filled as the user would.
    void Open(const std::wstring& find, const std::wstring& with, bool inKeys = false, bool matchCase = false,
              bool whole = false) {
        SendCommand(ID_EDIT_REPLACE);
        HWND window = ReplaceWindow();
        ASSERT_NE(window, nullptr);
        SetDlgItemTextW(window, IDC_REPLACE_FIND, find.c_str());
        SetDlgItemTextW(window, IDC_REPLACE_WITH, with.c_str());
        CheckRadioButton(window, IDC_REPLACE_INKEYS, IDC_REPLACE_INVALUES,
                         inKeys ? IDC_REPLACE_INKEYS : IDC_REPLACE_INVALUES);
        CheckDlgButton(window, IDC_REPLACE_MATCHCASE, matchCase ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(window, IDC_REPLACE_WHOLE, whole ? BST_CHECKED : BST_UNCHECKED);
    }
    void Press(int button) {
        HWND window = ReplaceWindow();
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
    }
    Texts Values() {
        Texts values;
        for (size_t i = 0; i < Dialog().Document.Count(); ++i)
            values.push_back(Wide(Dialog().Document.Value(i)));
        return values;
    }
};

TEST_F(FindAndReplace, CtrlHOpensTheWindowLookingInValuesWithItsButtonsGreyedUntilThereIsTextToFind) {
    OpenTableOf(2);
    wchar_t item[64] = {};
    GetMenuStringW(GetMenu(Window()), ID_EDIT_REPLACE, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(item), L"Find and &Replace...\tCtrl + H");
    SendCommand(ID_EDIT_REPLACE);
    HWND window = ReplaceWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    Texts shown;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        shown.push_back(WindowText(child));
    EXPECT_EQ(shown, (Texts{L"Find what", L"", L"Replace with", L"", L"Look in", L"Keys", L"Values", L"Match case",
                            L"Whole value only", L"Find Next", L"Replace", L"Replace All", L"Close"}));
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_REPLACE_INVALUES), BST_CHECKED);
    EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_REPLACE_FIND));
    for (bool typed : {false, true}) {
        SetDlgItemTextW(window, IDC_REPLACE_FIND, typed ? L"value" : L"");
        for (int button : {IDC_REPLACE_FINDNEXT, IDC_REPLACE_ONE, IDC_REPLACE_ALL})
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(window, button)) != FALSE, typed) << button;
    }
    Press(IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(window));
    SendCommand(ID_EDIT_REPLACE);
    EXPECT_EQ(WindowText(GetDlgItem(window, IDC_REPLACE_FIND)), L"value");  // kept while hidden
}

// Each press, then what it shows: the caret row, the characters marked in its value, the values.
TEST_F(FindAndReplace, FindNextAndReplaceWalkTheMatchesGoingOnAtTheTop) {
    OpenTable({u"a", u"b", u"c"}, {u"Stone one", u"none", u"stone two stone"});
    SelectRow(1);
    Open(L"stone", L"Gem");
    struct Step {
        int button;
        int caret;
        std::wstring marked;
        Texts values;
    };
    const Texts before{L"Stone one", L"none", L"stone two stone"};
    const Step steps[] = {
        {IDC_REPLACE_FINDNEXT, 2, L"stone", before},  // from the caret entry on
        {IDC_REPLACE_FINDNEXT, 2, L"stone", before},
        {IDC_REPLACE_ONE, 0, L"Stone", {L"Stone one", L"none", L"stone two Gem"}},  // on at the top
        {IDC_REPLACE_ONE, 2, L"stone", {L"Gem one", L"none", L"stone two Gem"}},
        {IDC_REPLACE_ONE, 2, L"", {L"Gem one", L"none", L"Gem two Gem"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        Press(step.button);
        EXPECT_EQ(CaretRow(), step.caret);
        EXPECT_EQ(SelectedRows(), std::vector<int>{step.caret});
        EXPECT_EQ(MarkedText(), step.marked);
        EXPECT_EQ(Values(), step.values);
    }
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"Cannot find \"stone\"");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Find and Replace");
    EXPECT_EQ(EditorText(), L"Gem two Gem");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl*");
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(Dialog().Document.History().UndoName(), "Replace");
}

TEST_F(FindAndReplace, ReplaceAllIsOneStepAndSaysHowManyInHowManyEntries) {
    struct Case {
        bool inKeys;
        Texts rows, values;
        std::wstring status;
    };
    const Case cases[] = {
        {false, {L"red", L"Red2"}, {L"\\blue;Sword \\blue;x", L"plain"}, L"2 replacements in 1 entries"},
        {true, {L"blue", L"blue2"}, {L"\\red;Sword \\red;x", L"plain"}, L"2 replacements in 2 entries"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inKeys);
        OpenAfresh({u"red", u"Red2"}, {u"\\red;Sword \\red;x", u"plain"});
        Open(L"red", L"blue", c.inKeys);
        Press(IDC_REPLACE_ALL);
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(Values(), c.values);
        EXPECT_EQ(EditorText(), c.values[0]);
        EXPECT_EQ(Status(0), c.status);
        EXPECT_EQ(Status(1), L"Not Saved");
        EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl*");
        EXPECT_EQ(Dialog().Document.History().UndoName(), "Replace All");
        EXPECT_TRUE(prompts_.Messages.empty());
    }
}

TEST_F(FindAndReplace, AResultTheFormatCannotHoldIsRefusedAndNothingChanges) {
    for (int button : {IDC_REPLACE_ALL, IDC_REPLACE_ONE}) {
        SCOPED_TRACE(button);
        OpenAfresh({u"one", u"two"}, {u"a", u"b"});
        Open(L"o", L"\u4E2D", true);
        if (button == IDC_REPLACE_ONE)
            Press(IDC_REPLACE_FINDNEXT);
        Press(button);
        ASSERT_EQ(prompts_.Messages.size(), 1u);
        EXPECT_TRUE(prompts_.Messages[0].Text.starts_with(L"Entry 0 (one) would not fit a .tbl file after the "
                                                          L"replacement: the key \"\u4E2Dne\" holds"))
            << prompts_.Messages[0].Text;
        EXPECT_TRUE(prompts_.Messages[0].Text.ends_with(L"Nothing was replaced."));
        EXPECT_EQ(prompts_.Messages[0].Owner, ReplaceWindow());
        EXPECT_EQ(Rows(), (Texts{L"one", L"two"}));
        EXPECT_FALSE(Dialog().Document.Modified);
        EXPECT_FALSE(Dialog().Document.History().CanUndo());
    }
}

}  // namespace
