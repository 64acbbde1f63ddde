#include "SearchTestSupport.h"

#include "ModalDialogProbe.h"
#include "WideText_win.h"

namespace {

using RowNumbers = std::vector<int>;

class SearchCommand : public SearchWindowTest {
protected:
    // Enter pressed at the end of the value editor's text, as a key press reaches it.
    void PressEnter() {
        SendMessageW(Dialog().ValueEditor(), EM_SETSEL, -1, -1);
        SendMessageW(Dialog().ValueEditor(), WM_KEYDOWN, VK_RETURN, 1);
        SendMessageW(Dialog().ValueEditor(), WM_CHAR, L'\r', 1);
    }
};

TEST_F(SearchCommand, DialogOpensEmptyAndCaseInsensitiveEveryTime) {
    OpenTableOf(3);
    Search(L"value", true);
    std::wstring caption, text;
    bool checked = true;
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_SEARCH); },
                                   [&](HWND dialog) {
                                       caption = WindowText(dialog);
                                       text = WindowText(GetDlgItem(dialog, IDC_SEARCHTEXT));
                                       checked = IsDlgButtonChecked(dialog, IDC_CASESENSITIVE) == BST_CHECKED;
                                       EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_CASESENSITIVE)), L"Case Sensitive");
                                   },
                                   IDCANCEL));
    EXPECT_EQ(caption, L"Search");
    EXPECT_EQ(text, L"");
    EXPECT_FALSE(checked);
}

TEST_F(SearchCommand, LowerCaseTextFindsCapitalisedKeyWhenCaseIsIgnored) {
    OpenTable({u"Dexterity", u"Vitality", u"Strength", u"Energy"}, {u"d", u"v", u"s", u"e"});
    Search(L"str");
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
    EXPECT_EQ(CaretRow(), 2);
    EXPECT_EQ(EditorText(), L"s");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 2), L"Index: 2(2h)/3(3h)");
    // A key hit marks nothing in the editor.
    EXPECT_EQ(MarkedText(), L"");
    EXPECT_EQ(EndOfSearchCount(), 0);
}

TEST_F(SearchCommand, CaseSensitiveTextMissesOtherCaseAndClearsTheSelection) {
    OpenTable({u"first", u"strength"}, {u"one", u"strength of arms"});
    SelectRow(0);
    Search(L"Str", true);
    EXPECT_EQ(EndOfSearchCount(), 1);
    EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(SearchCommand, IgnoredCaseLowersOnlyTheLettersAToZ) {
    // U+00C9 and U+00E9 are not the same letter to the search: only A to Z are lowered.
    OpenTable({u"a", u"b"}, {u"\u00E9tude", u"\u00C9tude"});
    Search(L"\u00C9TUDE");
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedText(), L"\u00C9tude");
}

TEST_F(SearchCommand, TextOnlyInAValueSelectsItsRowAndMarksTheCharacters) {
    std::vector<std::u16string> keys, values;
    for (int i = 0; i < 10; ++i) {
        keys.push_back(u"key" + Utf16(std::to_wstring(i)));
        values.push_back(u"plain text");
    }
    values[7] = u"Takes the Horadric Cube";
    OpenTable(keys, values);
    Search(L"horadric");
    EXPECT_EQ(SelectedRows(), (RowNumbers{7}));
    EXPECT_EQ(CaretRow(), 7);
    EXPECT_EQ(EditorText(), L"Takes the Horadric Cube");
    CHARRANGE range = MarkedRange();
    EXPECT_EQ(range.cpMin, 10);
    EXPECT_EQ(range.cpMax, 18);
    EXPECT_EQ(MarkedText(), L"Horadric");
}

TEST_F(SearchCommand, RowsAreScannedInOrderWithEachKeyBeforeItsValue) {
    OpenTable({u"alpha", u"beta", u"gem socket", u"gem"}, {u"none", u"a gem here", u"a gem too", u"x"});
    Search(L"gem");
    // Row 1 holds the text only in its value, which comes before the key of row 2.
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedText(), L"gem");
}

TEST_F(SearchCommand, KeyAndValueHoldingTheTextAreFoundByTheKey) {
    OpenTable({u"x", u"ring of gold"}, {u"y", u"gold ring"});
    Search(L"gold");
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedText(), L"");
}

TEST_F(SearchCommand, EmptyTextSelectsRowZero) {
    OpenTableOf(5);
    SelectRow(3);
    Search(L"");
    EXPECT_EQ(SelectedRows(), (RowNumbers{0}));
    EXPECT_EQ(CaretRow(), 0);
    EXPECT_EQ(EditorText(), L"value0");
}

TEST_F(SearchCommand, EarlierSelectionIsReplacedByTheHit) {
    OpenTableOf(8);
    for (int row : {1, 2, 5})
        Dialog().KeyList().Select(row, true);
    Search(L"key6");
    EXPECT_EQ(SelectedRows(), (RowNumbers{6}));
}

TEST_F(SearchCommand, CancelLeavesTheSelectionAndForgetsTheLastHit) {
    OpenTableOf(6);
    Search(L"key2");
    ASSERT_EQ(SelectedRows(), (RowNumbers{2}));
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_SEARCH); }, [](HWND) {}, IDCANCEL));
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
    EXPECT_EQ(EditorText(), L"value2");
    // The cancelled Search started over, so Repeat Search asks again.
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_REPEATSEARCH); }, [](HWND) {}, IDCANCEL));
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(SearchCommand, LoadedLineFeedsBeforeAHitDoNotShiftTheMarkedCharacters) {
    OpenTable({u"a", u"b"}, {u"first", u"line one\nline two\n\nthe target word"});
    Search(L"target");
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedText(), L"target");
}

TEST_F(SearchCommand, TypedLineBreaksBeforeAHitDoNotShiftTheMarkedCharacters) {
    OpenTable({u"a", u"b"}, {u"first", u"second"});
    SelectRow(1);
    PressEnter();
    Type(L"one more line");
    PressEnter();
    Type(L"and the target");
    // The editor gives its line breaks back as "\r\n", and the value keeps them.
    ASSERT_EQ(Dialog().Document.Value(1), u"second\r\none more line\r\nand the target");
    SelectRow(0);
    Search(L"TARGET");
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedText(), L"target");
}

TEST_F(SearchCommand, CarriageReturnLineFeedPairsBeforeAHitDoNotShiftTheMarkedCharacters) {
    OpenTable({u"a", u"b"}, {u"first", u"second"});
    // Values may hold "\r\n" and "\r\r\n" (a file from elsewhere, text pasted in).
    Dialog().Document.SetValue(1, u"one\r\ntwo\r\r\nthree\rfour\nthe target");
    Search(L"target");
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedText(), L"target");
}

TEST_F(SearchCommand, ValueHitShowsItsMarkWithoutTakingTheFocus) {
    OpenTable({u"a", u"b"}, {u"first", u"the target"});
    SetFocus(Dialog().KeyList().Handle());
    Search(L"target");
    EXPECT_EQ(GetFocus(), Dialog().KeyList().Handle()) << "a key press would type over the marked characters";
    EXPECT_EQ(MarkedText(), L"target");
    EXPECT_TRUE(SendMessageW(Dialog().ValueEditor(), EM_GETOPTIONS, 0, 0) & ECO_NOHIDESEL)
        << "the mark must show while the editor has no focus";
}

TEST_F(SearchCommand, FullTableWithoutAHitEndsWithNoRowSelected) {
    OpenTableOf(65535);
    SelectRow(40000);
    Search(L"no such text");
    EXPECT_EQ(EndOfSearchCount(), 1);
    EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(SearchCommand, DoesNothingWithoutEntries) {
    OpenWindow();
    WithoutDialog([&] { SendCommand(ID_EDIT_SEARCH); });
    RepeatSearch();
    EXPECT_TRUE(prompts_.Messages.empty());
}

class RepeatSearchCommand : public SearchWindowTest {};

TEST_F(RepeatSearchCommand, WithoutAnEarlierSearchOpensTheSearchDialog) {
    OpenTableOf(4);
    SelectRow(2);
    std::wstring caption;
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_REPEATSEARCH); },
                                   [&](HWND dialog) { caption = WindowText(dialog); }, IDCANCEL));
    EXPECT_EQ(caption, L"Search");
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
    EXPECT_EQ(EditorText(), L"value2");
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(RepeatSearchCommand, ReachesEachHitInOneValueOnceInOrder) {
    OpenTable({u"a", u"b", u"c"}, {u"nothing", u"ab, Ab and AB", u"x"});
    Search(L"ab");
    EXPECT_EQ(MarkedRange().cpMin, 0);
    EXPECT_EQ(MarkedText(), L"ab");
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedRange().cpMin, 4);
    EXPECT_EQ(MarkedText(), L"Ab");
    RepeatSearch();
    EXPECT_EQ(MarkedRange().cpMin, 11);
    EXPECT_EQ(MarkedText(), L"AB");
    EXPECT_EQ(EndOfSearchCount(), 0);
    RepeatSearch();
    EXPECT_EQ(EndOfSearchCount(), 1);
}

TEST_F(RepeatSearchCommand, HitsDoNotOverlap) {
    OpenTable({u"a"}, {u"aaaaa"});
    Search(L"aa");  // the key "a" is too short: the value's first "aa" is the hit
    EXPECT_EQ(MarkedRange().cpMin, 0);
    RepeatSearch();
    EXPECT_EQ(MarkedRange().cpMin, 2);
    RepeatSearch();
    EXPECT_EQ(EndOfSearchCount(), 1);
}

TEST_F(RepeatSearchCommand, KeyHitIsFollowedByTheSameRowsValueHitThenLaterRows) {
    OpenTable({u"a", u"gold ring", u"b", u"c", u"gold key"}, {u"x", u"a gold coin", u"y", u"more gold", u"z"});
    Search(L"gold");
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedText(), L"");
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    EXPECT_EQ(MarkedRange().cpMin, 2);
    EXPECT_EQ(MarkedText(), L"gold");
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{3}));
    EXPECT_EQ(EditorText(), L"more gold");
    EXPECT_EQ(MarkedText(), L"gold");
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{4}));
    EXPECT_EQ(MarkedText(), L"");
    EXPECT_EQ(EndOfSearchCount(), 0);
}

TEST_F(RepeatSearchCommand, HitInALaterRowReplacesTheSelection) {
    OpenTableOf(12);
    Search(L"key1");
    ASSERT_EQ(SelectedRows(), (RowNumbers{1}));
    Dialog().KeyList().Select(5, true);
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{10}));
    EXPECT_EQ(EditorText(), L"value10");
}

TEST_F(RepeatSearchCommand, AfterTheLastHitEndsTheSearchThenAsksAgain) {
    OpenTableOf(5);
    Search(L"key3");
    RepeatSearch();
    EXPECT_EQ(EndOfSearchCount(), 1);
    // Nothing more found: the selection stays as it was.
    EXPECT_EQ(SelectedRows(), (RowNumbers{3}));
    EXPECT_EQ(EditorText(), L"value3");
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_REPEATSEARCH); }, [](HWND) {}, IDCANCEL));
}

TEST_F(RepeatSearchCommand, HitInTheLastRowsKeyEndsTheSearchThenAsksAgain) {
    OpenTable({u"a", u"b", u"last"}, {u"1", u"2", u"3"});
    Search(L"last");
    ASSERT_EQ(SelectedRows(), (RowNumbers{2}));
    RepeatSearch();
    EXPECT_EQ(EndOfSearchCount(), 1);
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_REPEATSEARCH); }, [](HWND) {}, IDCANCEL));
}

TEST_F(RepeatSearchCommand, EmptyTextGoesOnRowByRow) {
    OpenTableOf(3);
    Search(L"");
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
    RepeatSearch();
    EXPECT_EQ(EndOfSearchCount(), 1);
}

TEST_F(RepeatSearchCommand, KeepsTheCaseRuleOfTheSearch) {
    OpenTable({u"Stone", u"stone", u"STONE"}, {u"1", u"2", u"3"});
    Search(L"stone", true);
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    RepeatSearch();
    EXPECT_EQ(EndOfSearchCount(), 1);
    Search(L"STONE");
    EXPECT_EQ(SelectedRows(), (RowNumbers{0}));
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{1}));
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
}

TEST_F(RepeatSearchCommand, GoesOnInAnotherTableOpenedSinceTheSearch) {
    OpenTable({u"sword", u"shield"}, {u"1", u"2"});
    Search(L"sword");
    OpenTable({u"axe", u"bow", u"long sword"}, {u"a", u"b", u"c"}, "other.tbl");
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
    EXPECT_EQ(EditorText(), L"c");
}

TEST_F(RepeatSearchCommand, GoesOnAfterAnEditOfTheValue) {
    OpenTable({u"a", u"b", u"c"}, {u"red", u"x", u"red again"});
    Search(L"red");
    ASSERT_EQ(SelectedRows(), (RowNumbers{0}));
    Type(L" and red");  // the caret entry is row 0, now "red and red"
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{0}));
    EXPECT_EQ(MarkedRange().cpMin, 8);
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
}

TEST_F(RepeatSearchCommand, EndsTheSearchWhenTheHitsRowIsNoLongerThere) {
    OpenTableOf(6);
    Search(L"key5");
    OpenTable({u"a", u"b"}, {u"1", u"2"}, "other.tbl");
    RepeatSearch();
    EXPECT_EQ(EndOfSearchCount(), 1);
}

// The routes to the commands besides the menu: accelerators and toolbar.
class SearchRoutes : public SearchWindowTest {
protected:
    // A key pressed while the window runs its accelerators, with Ctrl held or not.
    void PressAccelerator(WORD key, bool control) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE saved = keys[VK_CONTROL];
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG message{Window(), WM_KEYDOWN, key, 1};
        HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
        TranslateAcceleratorW(Window(), table, &message);
        keys[VK_CONTROL] = saved;
        SetKeyboardState(keys);
    }
    void ClickToolbarButton(UINT id) {
        RECT rect{};
        ASSERT_TRUE(SendMessageW(Dialog().Toolbar(), TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect)));
        LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(Dialog().Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Dialog().Toolbar(), WM_LBUTTONUP, 0, at);
    }
    std::wstring CaptionOfDialogOpenedBy(const std::function<void()>& open) {
        std::wstring caption;
        EXPECT_TRUE(InspectModalDialog(open, [&](HWND dialog) { caption = WindowText(dialog); }, IDCANCEL));
        return caption;
    }
};

TEST_F(SearchRoutes, ControlFAndF3OpenTheSearchDialog) {
    OpenTableOf(3);
    EXPECT_EQ(CaptionOfDialogOpenedBy([&] { PressAccelerator('F', true); }), L"Search");
    EXPECT_EQ(CaptionOfDialogOpenedBy([&] { PressAccelerator(VK_F3, false); }), L"Search");
}

TEST_F(SearchRoutes, F3RepeatsTheSearch) {
    OpenTableOf(12);
    Search(L"key1");
    WithoutDialog([&] { PressAccelerator(VK_F3, false); });
    EXPECT_EQ(SelectedRows(), (RowNumbers{10}));
}

TEST_F(SearchRoutes, ToolbarButtonsOpenTheirDialogs) {
    OpenTableOf(3);
    EXPECT_EQ(CaptionOfDialogOpenedBy([&] { ClickToolbarButton(ID_EDIT_SEARCH); }), L"Search");
    EXPECT_EQ(CaptionOfDialogOpenedBy([&] { ClickToolbarButton(ID_EDIT_REPEATSEARCH); }), L"Search");
    EXPECT_EQ(CaptionOfDialogOpenedBy([&] { ClickToolbarButton(ID_EDIT_GOTOINDEX); }), L"Go To Index #");
}

}  // namespace
