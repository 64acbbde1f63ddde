#include "SearchTestSupport.h"

#include "ModalDialogProbe.h"
#include "WideText_win.h"

namespace {

using RowNumbers = std::vector<int>;

class GoToIndexCommand : public SearchWindowTest {
protected:
    // Runs Go To Index # with `text` typed into its dialog, confirmed with OK.
    void GoToIndex(const std::wstring& text) {
        EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_GOTOINDEX); },
                                       [&](HWND dialog) { SetDlgItemTextW(dialog, IDC_KEYTEXT, text.c_str()); }));
    }

    // What the open dialog did when OK was pressed with a text typed in.
    struct Refusal {
        bool StillOpen = false;
        bool FocusOnField = false;
        std::vector<std::wstring> Messages;  // shown while OK was handled
    };
    // In one opening of the dialog, presses OK with each text in turn; then cancels.
    std::vector<Refusal> PressOkWithEach(const std::vector<std::wstring>& texts) {
        std::vector<Refusal> refusals;
        EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_GOTOINDEX); },
                                       [&](HWND dialog) {
                                           HWND field = GetDlgItem(dialog, IDC_KEYTEXT);
                                           for (const std::wstring& text : texts) {
                                               prompts_.Messages.clear();
                                               SetDlgItemTextW(dialog, IDC_KEYTEXT, text.c_str());
                                               SetFocus(GetDlgItem(dialog, IDOK));
                                               SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                                               PumpPending();
                                               Refusal refusal;
                                               refusal.StillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
                                               refusal.FocusOnField = GetFocus() == field;
                                               for (const auto& message : prompts_.Messages) {
                                                   EXPECT_EQ(message.Caption, L"Go To Index #");
                                                   EXPECT_EQ(message.Owner, dialog);
                                                   refusal.Messages.push_back(message.Text);
                                               }
                                               refusals.push_back(refusal);
                                           }
                                       },
                                       IDCANCEL));
        return refusals;
    }
    void ExpectRefused(const std::vector<std::wstring>& texts, const std::wstring& message) {
        std::vector<Refusal> refusals = PressOkWithEach(texts);
        ASSERT_EQ(refusals.size(), texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            std::string text(texts[i].begin(), texts[i].end());
            EXPECT_TRUE(refusals[i].StillOpen) << text;
            EXPECT_TRUE(refusals[i].FocusOnField) << text;
            EXPECT_EQ(refusals[i].Messages, std::vector<std::wstring>{message}) << text;
        }
    }
};

TEST_F(GoToIndexCommand, DialogOpensWithZero) {
    OpenTableOf(3);
    std::wstring caption, text;
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_GOTOINDEX); },
                                   [&](HWND dialog) {
                                       caption = WindowText(dialog);
                                       text = WindowText(GetDlgItem(dialog, IDC_KEYTEXT));
                                       EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, IDC_KEYTEXT), GWL_STYLE) &
                                                   ES_NUMBER);
                                   },
                                   IDCANCEL));
    EXPECT_EQ(caption, L"Go To Index #");
    EXPECT_EQ(text, L"0");
}

TEST_F(GoToIndexCommand, SelectsTheRowAddingItToTheSelectionAndShowsItsEntry) {
    OpenTableOf(100);
    SelectRow(3);
    Dialog().KeyList().Select(60, true);
    GoToIndex(L"25");
    EXPECT_EQ(SelectedRows(), (RowNumbers{3, 25, 60}));
    EXPECT_EQ(CaretRow(), 25);
    EXPECT_EQ(EditorText(), L"value25");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 2), L"Index: 25(19h)/99(63h)");
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(GoToIndexCommand, LastRowIsReachedAndANumberBeyondTheTableSelectsNothing) {
    OpenTableOf(100);
    SelectRow(7);
    GoToIndex(L"99");
    EXPECT_EQ(SelectedRows(), (RowNumbers{7, 99}));
    SelectRow(7);
    GoToIndex(L"100");
    EXPECT_EQ(SelectedRows(), (RowNumbers{7}));
    EXPECT_EQ(CaretRow(), 7);
    EXPECT_EQ(EditorText(), L"value7");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 0), L"No entry 100: the table has 100");
    GoToIndex(L"10000");
    EXPECT_EQ(SelectedRows(), (RowNumbers{7}));
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 0), L"No entry 10000: the table has 100");
    GoToIndex(L"5");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 0), L"Ready.") << "the note goes with the next Go To";
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(GoToIndexCommand, NumberAboveTenThousandIsRefusedAndTheDialogStaysOpen) {
    OpenTableOf(100);
    SelectRow(4);
    ExpectRefused({L"10001", L"65535", L"123456789012345678901234567890"},
                  L"The index number must be from 0 to 10000.");
    EXPECT_EQ(SelectedRows(), (RowNumbers{4}));
}

TEST_F(GoToIndexCommand, TextThatIsNoNumberIsRefusedAndTheDialogStaysOpen) {
    OpenTableOf(100);
    SelectRow(4);
    ExpectRefused({L"abc", L"", L"-1", L"2 5", L"+3", L"12a"}, L"Please enter an index number, in digits 0 to 9.");
    EXPECT_EQ(SelectedRows(), (RowNumbers{4}));
}

TEST_F(GoToIndexCommand, CorrectedNumberIsTakenAfterARefusal) {
    OpenTableOf(50);
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_GOTOINDEX); },
                                   [&](HWND dialog) {
                                       SetDlgItemTextW(dialog, IDC_KEYTEXT, L"abc");
                                       SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                                       SetDlgItemTextW(dialog, IDC_KEYTEXT, L"42");
                                   }));
    EXPECT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(SelectedRows(), (RowNumbers{0, 42}));
    EXPECT_EQ(EditorText(), L"value42");
}

TEST_F(GoToIndexCommand, CancelChangesNothing) {
    OpenTableOf(30);
    SelectRow(2);
    EXPECT_TRUE(InspectModalDialog([&] { SendCommand(ID_EDIT_GOTOINDEX); },
                                   [&](HWND dialog) { SetDlgItemTextW(dialog, IDC_KEYTEXT, L"20"); }, IDCANCEL));
    EXPECT_EQ(SelectedRows(), (RowNumbers{2}));
    EXPECT_EQ(EditorText(), L"value2");
}

TEST_F(GoToIndexCommand, DoesNotDisturbTheSearch) {
    OpenTableOf(30);
    Search(L"key1");
    GoToIndex(L"5");
    RepeatSearch();
    EXPECT_EQ(SelectedRows(), (RowNumbers{10}));
}

}  // namespace
