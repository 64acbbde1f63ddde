#include "ExchangeTestSupport.h"

#include "ModalDialogProbe.h"

#include "WideText_win.h"

namespace {

class TxtImport : public ExchangeTest {
protected:
    // The sample table a, b, c = one, two, three, opened.
    void OpenSample() { OpenFile(MakeTable("sample.tbl", {u"a", u"b", u"c"}, {u"one", u"two", u"three"})); }
    std::wstring TextFile(const std::string& name, const std::string& text) {
        WriteText(scratch_ / name, text);
        return ScratchPath(name);
    }
    // Imports `file` through the dialog: browse, keys from column 0 and values from column 1
    // (both lists start on column 0), then `choose` (other columns, the mode), OK.
    void Import(const std::wstring& file, const std::function<void(HWND)>& choose = [](HWND) {}) {
        prompts_.FileAnswers.push_back(file);
        RunDialog(ID_IMPORT_TXT, [&](HWND dialog) {
            ClickButton(dialog, IDC_IMPORTBROWSE);
            ChooseColumn(dialog, IDC_VALUECOLUMN, 1);
            choose(dialog);
        });
    }
    static void ChooseColumn(HWND dialog, int listId, int column) {
        SendDlgItemMessageW(dialog, listId, CB_SETCURSEL, static_cast<WPARAM>(column), 0);
    }
    std::wstring ValueShownFor(int row) {
        SelectRow(row);
        return EditorText();
    }
};

TEST_F(TxtImport, OkStaysDisabledUntilAHeaderIsRead) {
    const std::wstring file = TextFile("three.txt", "Key\tValue\tNote\r\n");
    prompts_.FileAnswers = {std::nullopt, file};
    RunDialog(ID_IMPORT_TXT, [&](HWND dialog) {
        EXPECT_FALSE(ControlEnabled(dialog, IDOK));
        EXPECT_TRUE(ListItems(dialog, IDC_KEYCOLUMN).empty());
        EXPECT_TRUE(ListItems(dialog, IDC_VALUECOLUMN).empty());
        EXPECT_EQ(ControlText(dialog, IDC_IMPORTBROWSE), L"");
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_IMPORTAPPEND), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_IMPORTOVERWRITE), BST_UNCHECKED);

        ClickButton(dialog, IDC_IMPORTBROWSE);  // cancelled
        EXPECT_FALSE(ControlEnabled(dialog, IDOK));
        EXPECT_EQ(ControlText(dialog, IDC_TXTFILENAME), L"");

        ClickButton(dialog, IDC_IMPORTBROWSE);
        EXPECT_TRUE(ControlEnabled(dialog, IDOK));
        EXPECT_EQ(ControlText(dialog, IDC_TXTFILENAME), file);
        const std::vector<std::wstring> captions{L"Key", L"Value", L"Note"};
        EXPECT_EQ(ListItems(dialog, IDC_KEYCOLUMN), captions);
        EXPECT_EQ(ListItems(dialog, IDC_VALUECOLUMN), captions);
        EXPECT_EQ(ListSelection(dialog, IDC_KEYCOLUMN), 0);
        EXPECT_EQ(ListSelection(dialog, IDC_VALUECOLUMN), 0);
    }, IDCANCEL);
    ASSERT_EQ(prompts_.FileRequests.size(), 2u);
    const FileDialogRequest& request = prompts_.FileRequests[1];
    EXPECT_FALSE(request.Save);
    EXPECT_EQ(request.DefaultExtension, L"txt");
    EXPECT_EQ(request.InitialFileName, L"*.txt");
    EXPECT_EQ(request.Filter, L"Tabbed Text Files (*.txt)|*.txt|All files (*.*)|*.*||");
    EXPECT_EQ(request.Flags, 0x1004u);
    EXPECT_EQ(request.InitialFolder, L"");
}

TEST_F(TxtImport, UnreadableFileIsReportedWithListsEmptyAndItsPathShown) {
    const std::wstring missing = ScratchPath("missing.txt");
    prompts_.FileAnswers = {missing};
    RunDialog(ID_IMPORT_TXT, [&](HWND dialog) {
        ClickButton(dialog, IDC_IMPORTBROWSE);
        EXPECT_EQ(ControlText(dialog, IDC_TXTFILENAME), missing);
        EXPECT_TRUE(ListItems(dialog, IDC_KEYCOLUMN).empty());
        EXPECT_TRUE(ListItems(dialog, IDC_VALUECOLUMN).empty());
        EXPECT_FALSE(ControlEnabled(dialog, IDOK));
    }, IDCANCEL);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"File " + missing + L" not opened");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"File I/O error");
    EXPECT_EQ(prompts_.Messages[0].Type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(TxtImport, UnreadableFileAfterAGoodOneEmptiesTheListsAndLeavesOkEnabled) {
    const std::wstring good = TextFile("good.txt", "Key\tValue\r\n");
    const std::wstring missing = ScratchPath("missing.txt");
    prompts_.FileAnswers = {good, missing};
    RunDialog(ID_IMPORT_TXT, [&](HWND dialog) {
        ClickButton(dialog, IDC_IMPORTBROWSE);
        ClickButton(dialog, IDC_IMPORTBROWSE);
        EXPECT_EQ(ControlText(dialog, IDC_TXTFILENAME), missing);
        EXPECT_TRUE(ListItems(dialog, IDC_KEYCOLUMN).empty());
        EXPECT_TRUE(ListItems(dialog, IDC_VALUECOLUMN).empty());
        EXPECT_TRUE(ControlEnabled(dialog, IDOK));
    }, IDCANCEL);
    EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{L"File " + missing + L" not opened"});
}

TEST_F(TxtImport, AppendAddsEveryRowAfterTheLastEntryAndMarksTheTable) {
    OpenSample();
    Import(TextFile("rows.txt", "String Index\tText\r\nb\tnew b\r\nd\tfour\\nlines\r\n\r\n"));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c", L"b", L"d"}));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl*");
    EXPECT_EQ(Status(1), L"Not Saved");
    EXPECT_EQ(EditorText(), L"one") << "the caret entry is shown";
    EXPECT_EQ(Status(2), L"Index: 0(0h)/4(4h)");
    EXPECT_EQ(ValueShownFor(1), L"two");
    EXPECT_EQ(ValueShownFor(3), L"new b");
    EXPECT_EQ(ValueShownFor(4), L"four\\nlines");
}

TEST_F(TxtImport, OverwriteMergesRowsByKey) {
    OpenSample();
    Import(TextFile("rows.txt", "String Index\tText\r\nb\tnew b\r\nB\tcase differs\r\nd\tfour\r\n"),
           [](HWND dialog) { ClickButton(dialog, IDC_IMPORTOVERWRITE); });
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c", L"B", L"d"}));
    EXPECT_EQ(ValueShownFor(0), L"one");
    EXPECT_EQ(ValueShownFor(1), L"new b");
    EXPECT_EQ(ValueShownFor(3), L"case differs");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl*");
}

TEST_F(TxtImport, AppendChosenAfterOverwriteAppends) {
    OpenSample();
    Import(TextFile("rows.txt", "String Index\tText\r\na\tagain\r\n"), [](HWND dialog) {
        ClickButton(dialog, IDC_IMPORTOVERWRITE);
        ClickButton(dialog, IDC_IMPORTAPPEND);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_IMPORTAPPEND), BST_CHECKED);
    });
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c", L"a"}));
}

TEST_F(TxtImport, ChosenColumnsGiveKeyAndValue) {
    OpenSample();
    Import(TextFile("columns.txt", "Note\tText\tKey\r\nx\tfirst\tk1\r\ny\tno key\t\r\nz\tshort\r\n"),
           [](HWND dialog) {
               ChooseColumn(dialog, IDC_KEYCOLUMN, 2);
           });
    // Rows without a key field, or with an empty one, are left out.
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c", L"k1"}));
    EXPECT_EQ(ValueShownFor(3), L"first");
}

TEST_F(TxtImport, BothListsStartOnTheFirstColumnSoEachRowsFirstFieldIsKeyAndValue) {
    prompts_.FileAnswers.push_back(TextFile("rows.txt", "String Index\tText\r\nk1\tv1\r\n"));
    RunDialog(ID_IMPORT_TXT, [](HWND dialog) { ClickButton(dialog, IDC_IMPORTBROWSE); });
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"k1"});
    EXPECT_EQ(EditorText(), L"k1");
}

TEST_F(TxtImport, RowWithoutTheValueFieldIsLeftOut) {
    OpenSample();
    Import(TextFile("short.txt", "Key\tNote\tText\r\nk1\tn\tv1\r\nk2\tn\r\nk3\tn\t\r\n"),
           [](HWND dialog) { ChooseColumn(dialog, IDC_VALUECOLUMN, 2); });
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c", L"k1", L"k3"}));
    EXPECT_EQ(ValueShownFor(3), L"v1");
    EXPECT_EQ(ValueShownFor(4), L"");
}

TEST_F(TxtImport, HeaderOnlyImportsNothingButMarksTheTable) {
    OpenSample();
    Import(TextFile("header.txt", "String Index\tText"));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl*");
    EXPECT_EQ(Status(1), L"Not Saved");
}

TEST_F(TxtImport, ImportIntoAnEmptyTableShowsItsFirstEntryReadyToEdit) {
    Import(TextFile("rows.txt", "String Index\tText\r\nk1\tv1\r\nk2\tv2\r\n"));
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"k1", L"k2"}));
    EXPECT_EQ(EditorText(), L"v1");
    EXPECT_EQ(Dialog().KeyList().SelectedRows(), std::vector<int>{0});
    EXPECT_TRUE(IsWindowEnabled(Dialog().ValueEditor()));
    EXPECT_FALSE(MenuItemGrayed(Window(), ID_FILE_SAVE));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled*");
    Type(L"!");
    EXPECT_EQ(ValueShownFor(1), L"v2");
    EXPECT_EQ(ValueShownFor(0), L"v1!");
}

TEST_F(TxtImport, ImportKeepsTheCaretRowAndShowsItsValue) {
    OpenSample();
    SelectRow(2);
    Import(TextFile("rows.txt", "String Index\tText\r\nc\tTHREE\r\n"),
           [](HWND dialog) { ClickButton(dialog, IDC_IMPORTOVERWRITE); });
    EXPECT_EQ(Dialog().KeyList().Caret(), 2);
    EXPECT_EQ(Dialog().KeyList().SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(EditorText(), L"THREE");
    EXPECT_EQ(Status(2), L"Index: 2(2h)/2(2h)");
}

TEST_F(TxtImport, CancelChangesNothingAndLeavesTheTableClean) {
    OpenSample();
    prompts_.FileAnswers.push_back(TextFile("rows.txt", "String Index\tText\r\nd\tfour\r\n"));
    RunDialog(ID_IMPORT_TXT, [&](HWND dialog) { ClickButton(dialog, IDC_IMPORTBROWSE); }, IDCANCEL);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl");
    EXPECT_EQ(Status(1), L"Loaded");
    EXPECT_EQ(Dialog().Document.Count(), 3u);
}

TEST_F(TxtImport, FileGoneAtOkKeepsTheDialogOpenAndImportsNothing) {
    OpenSample();
    const std::wstring file = TextFile("rows.txt", "String Index\tText\r\nd\tfour\r\n");
    prompts_.FileAnswers.push_back(file);
    RunDialog(ID_IMPORT_TXT, [&](HWND dialog) {
        ClickButton(dialog, IDC_IMPORTBROWSE);
        std::filesystem::remove(file);
        ClickButton(dialog, IDOK);
        EXPECT_TRUE(ControlEnabled(dialog, IDOK));
    }, IDCANCEL);
    EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{L"File " + file + L" not opened"});
    // Had the failed OK closed the dialog, the table would now be marked modified.
    EXPECT_EQ(TitleOf(Window()), L"Strindle - sample.tbl");
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

TEST_F(TxtImport, RowsBeyondWhatATableHoldsAreRefusedAndTheDialogStaysOpen) {
    std::string text = "String Index\tText\r\n";
    for (int row = 0; row < 65536; ++row)
        text += "k" + std::to_string(row) + "\tv\r\n";
    prompts_.FileAnswers.push_back(TextFile("huge.txt", text));
    RunDialog(ID_IMPORT_TXT, [](HWND dialog) {
        ClickButton(dialog, IDC_IMPORTBROWSE);
        ChooseColumn(dialog, IDC_VALUECOLUMN, 1);
        ClickButton(dialog, IDOK);
    }, IDCANCEL);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text,
              L"The file has more than 65535 rows; with the table's 0 entries that is more than the 65535 a table "
              L"holds. Nothing was imported.");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"File I/O error");
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
}

TEST_F(TxtImport, ReachedFromTheAcceleratorAndTheToolbar) {
    EXPECT_TRUE(ToolbarButtonEnabled(Dialog().Toolbar(), ID_IMPORT_TXT));
    EXPECT_TRUE(ToolbarButtonEnabled(Dialog().Toolbar(), ID_IMPORT_TBL));
    // An accelerator sends the command with notification code 1.
    EXPECT_TRUE(InspectModalDialog(
        [&] { SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(ID_IMPORT_TXT, 1), 0); },
        [](HWND dialog) { EXPECT_TRUE(GetDlgItem(dialog, IDC_KEYCOLUMN)); }, IDCANCEL));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
}

TEST_F(TxtImport, DialogShowsItsControlsWhereTheTemplatePutsThem) {
    RunDialog(ID_IMPORT_TXT, [&](HWND dialog) {
        ExpectTabbedFileDialogLayout(
            dialog, IDC_IMPORTBROWSE, 255, 182,
            {
                {GetDlgItem(dialog, IDOK), L"OK", 74, 161, 50, 14},
                {GetDlgItem(dialog, IDCANCEL), L"Cancel", 130, 161, 50, 14},
                {ChildWithText(dialog, L"Import File"), L"Import File", 16, 7, 232, 54},
                {ChildWithText(dialog, L"Filename"), L"Filename", 25, 25, 29, 14},
                {GetDlgItem(dialog, IDC_TXTFILENAME), L"", 25, 39, 161, 14},
                {GetDlgItem(dialog, IDC_IMPORTBROWSE), L"", 194, 39, 16, 14},
                {ChildWithText(dialog, L"Import Options"), L"Import Options", 16, 69, 232, 85},
                {ChildWithText(dialog, L"Import Key Index Column"), L"Import Key Index Column", 24, 82, 100, 14},
                {ChildWithText(dialog, L"Import Value Column"), L"Import Value Column", 24, 121, 100, 12},
                {GetDlgItem(dialog, IDC_IMPORTAPPEND), L"Append", 185, 96, 41, 10},
                {GetDlgItem(dialog, IDC_IMPORTOVERWRITE), L"Overwrite", 185, 110, 46, 10},
            });
        // A drop-down list is as high as its edit part; its left, top and width are the template's.
        for (auto [id, y] : {std::pair{IDC_KEYCOLUMN, 96}, std::pair{IDC_VALUECOLUMN, 133}}) {
            const RECT want = DialogUnitsToPixels(dialog, 24, y, 150, 60);
            const RECT got = PlaceInDialog(dialog, GetDlgItem(dialog, id));
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right, want.right);
            const LONG style = GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE);
            EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
            EXPECT_FALSE(style & CBS_SORT);
        }
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, IDC_IMPORTAPPEND), GWL_STYLE) & WS_GROUP);
        EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDC_IMPORTOVERWRITE), GWL_STYLE) & BS_TYPEMASK,
                  BS_AUTORADIOBUTTON);
    }, IDCANCEL);
}

}  // namespace
