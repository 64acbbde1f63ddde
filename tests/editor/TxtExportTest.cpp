#include "ExchangeTestSupport.h"

#include "ModalDialogProbe.h"
#include "TxtExportDlg.h"
#include "WideText_win.h"

namespace {

using TxtExport = ExchangeTest;

// The bytes the export writes for a table of the single entry x1 = "A", line feed, "B".
const std::string SingleEntryFile = "String Index\tText\r\nx1\tA\\nB\r\n";

TEST_F(TxtExport, OkStaysDisabledUntilAFileIsChosen) {
    OpenFile(MakeTable("one.tbl", {u"x1"}, {u"A\nB"}));
    const std::wstring target = ScratchPath("out.txt");
    prompts_.FileAnswers = {std::nullopt, target};
    RunDialog(ID_EXPORT_TXT, [&](HWND dialog) {
        EXPECT_FALSE(ControlEnabled(dialog, IDOK));
        EXPECT_EQ(ControlText(dialog, IDC_TXTFILENAME), L"");
        EXPECT_EQ(ControlText(dialog, IDC_EXPORTBROWSE), L"") << "the browse button shows only its picture";
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // Enter on the disabled OK
        EXPECT_FALSE(std::filesystem::exists(target));

        ClickButton(dialog, IDC_EXPORTBROWSE);  // cancelled
        EXPECT_FALSE(ControlEnabled(dialog, IDOK));
        EXPECT_EQ(ControlText(dialog, IDC_TXTFILENAME), L"");

        ClickButton(dialog, IDC_EXPORTBROWSE);
        EXPECT_TRUE(ControlEnabled(dialog, IDOK));
        EXPECT_EQ(ControlText(dialog, IDC_TXTFILENAME), target);
    });
    ASSERT_EQ(prompts_.FileRequests.size(), 3u);  // the Open and the two browses
    const FileDialogRequest& request = prompts_.FileRequests[2];
    EXPECT_TRUE(request.Save);
    EXPECT_EQ(request.DefaultExtension, L"txt");
    EXPECT_EQ(request.InitialFileName, L"*.txt");
    EXPECT_EQ(request.Filter, L"Tabbed Text Files (*.txt)|*.txt|All files (*.*)|*.*||");
    EXPECT_EQ(request.Flags, 0x806u);
    EXPECT_EQ(request.InitialFolder, L"");
    EXPECT_EQ(ReadBytes(target), Bytes(SingleEntryFile));
}

TEST_F(TxtExport, WritesTheTableAndLeavesTheWindowAsItWas) {
    OpenFile(MakeTable("one.tbl", {u"x1"}, {u"A\nB"}));
    const std::wstring target = ScratchPath("out.txt");
    prompts_.FileAnswers.push_back(target);
    RunDialog(ID_EXPORT_TXT, [&](HWND dialog) { ClickButton(dialog, IDC_EXPORTBROWSE); });
    EXPECT_EQ(ReadBytes(target), Bytes(SingleEntryFile));
    EXPECT_TRUE(prompts_.Messages.empty());
    EXPECT_EQ(TitleOf(Window()), L"Strindle - one.tbl");
    EXPECT_EQ(Status(1), L"Loaded");
    EXPECT_EQ(Rows(), std::vector<std::wstring>{L"x1"});
}

TEST_F(TxtExport, WritesTheValueAsEditedAndKeepsTheTableModified) {
    OpenFile(MakeTable("two.tbl", {u"a", u"b"}, {u"one", u"two"}));
    SelectRow(1);
    Type(L"!");
    const std::wstring target = ScratchPath("out.txt");
    prompts_.FileAnswers.push_back(target);
    RunDialog(ID_EXPORT_TXT, [&](HWND dialog) { ClickButton(dialog, IDC_EXPORTBROWSE); });
    EXPECT_EQ(ReadBytes(target), Bytes("String Index\tText\r\na\tone\r\nb\ttwo!\r\n"));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - two.tbl*");
    EXPECT_EQ(Status(1), L"Not Saved");
}

TEST_F(TxtExport, EmptyTableGivesTheHeaderLineOnly) {
    const std::wstring target = ScratchPath("empty.txt");
    prompts_.FileAnswers.push_back(target);
    RunDialog(ID_EXPORT_TXT, [&](HWND dialog) { ClickButton(dialog, IDC_EXPORTBROWSE); });
    EXPECT_EQ(ReadBytes(target), Bytes("String Index\tText\r\n"));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
}

TEST_F(TxtExport, CancelWritesNothing) {
    OpenFile(MakeTable("one.tbl", {u"x1"}, {u"v"}));
    const std::wstring target = ScratchPath("out.txt");
    prompts_.FileAnswers.push_back(target);
    RunDialog(ID_EXPORT_TXT, [&](HWND dialog) { ClickButton(dialog, IDC_EXPORTBROWSE); }, IDCANCEL);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - one.tbl");
}

size_t FilesIn(const std::filesystem::path& folder) {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    return count;
}

// The dialog run on its own, to see whether a failed OK left it open (the probe's Cancel
// then ends it) or closed it.
class TxtExportFailure : public ExchangeTest {
protected:
    INT_PTR Export(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values,
                   const std::wstring& target) {
        prompts_.FileAnswers.push_back(target);
        const TblDocument table = TableOf(keys, values);
        CTxtExport dialog(prompts_, table, Window());
        INT_PTR result = 0;
        EXPECT_TRUE(InspectModalDialog([&] { result = dialog.DoModal(); },
                                       [&](HWND window) {
                                           ClickButton(window, IDC_EXPORTBROWSE);
                                           ClickButton(window, IDOK);
                                           EXPECT_EQ(ControlText(window, IDC_TXTFILENAME), target);
                                           EXPECT_TRUE(ControlEnabled(window, IDOK));
                                       },
                                       IDCANCEL));
        return result;
    }
};

TEST_F(TxtExportFailure, TargetThatCannotBeReplacedKeepsTheDialogOpenAndTheOldFileWhole) {
    const std::filesystem::path target = scratch_ / "locked.txt";
    WriteText(target, "old contents");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Export({u"k"}, {u"v"}, target.wstring()), IDCANCEL);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"File " + target.wstring() + L" not opened");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"File I/O error");
    EXPECT_EQ(prompts_.Messages[0].Type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ReadBytes(target), Bytes("old contents"));
    EXPECT_EQ(FilesIn(scratch_.Path()), 1u) << "no temporary file is left behind";
}

TEST_F(TxtExportFailure, MissingFolderIsReportedAsNotOpened) {
    const std::wstring target = ScratchPath("gone\\out.txt");
    EXPECT_EQ(Export({u"k"}, {u"v"}, target), IDCANCEL);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"File " + target + L" not opened");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"File I/O error");
}

TEST_F(TxtExportFailure, CharacterBeyondOneByteIsRefusedNamingTheEntryAndNothingIsWritten) {
    const std::filesystem::path target = scratch_ / "old.txt";
    WriteText(target, "old contents");
    EXPECT_EQ(Export({u"a", u"Cyrillic", u"c"}, {u"plain \u00E9", u"\u0416uk", u"\u0434"}, target.wstring()),
              IDCANCEL);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text,
              L"Entry 1 (key \"Cyrillic\") holds the character U+0416, which a text file of one byte per "
              L"character cannot hold. Nothing was written.");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"File I/O error");
    EXPECT_EQ(prompts_.Messages[0].Type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ReadBytes(target), Bytes("old contents"));
    EXPECT_EQ(FilesIn(scratch_.Path()), 1u) << "no temporary file is left behind";
}

TEST_F(TxtExportFailure, SuccessClosesTheDialogWithOk) {
    const std::wstring target = ScratchPath("out.txt");
    prompts_.FileAnswers.push_back(target);
    const TblDocument table = TableOf({u"k"}, {u"v"});
    CTxtExport dialog(prompts_, table, Window());
    INT_PTR result = 0;
    EXPECT_TRUE(InspectModalDialog([&] { result = dialog.DoModal(); },
                                   [&](HWND window) { ClickButton(window, IDC_EXPORTBROWSE); }));
    EXPECT_EQ(result, IDOK);
}

TEST_F(TxtExport, DialogShowsItsControlsWhereTheTemplatePutsThem) {
    RunDialog(ID_EXPORT_TXT, [&](HWND dialog) {
        ExpectTabbedFileDialogLayout(dialog, IDC_EXPORTBROWSE, 255, 97,
                                     {
                                         {GetDlgItem(dialog, IDOK), L"OK", 74, 76, 50, 14},
                                         {GetDlgItem(dialog, IDCANCEL), L"Cancel", 130, 76, 50, 14},
                                         {ChildWithText(dialog, L"Export File"), L"Export File", 16, 7, 232, 54},
                                         {ChildWithText(dialog, L"Filename"), L"Filename", 25, 25, 29, 14},
                                         {GetDlgItem(dialog, IDC_TXTFILENAME), L"", 25, 39, 161, 14},
                                         {GetDlgItem(dialog, IDC_EXPORTBROWSE), L"", 194, 39, 16, 14},
                                     });
    }, IDCANCEL);
}

TEST_F(TxtExport, CommandHasItsStatusString) {
    wchar_t text[64] = {};
    LoadStringW(GetModuleHandleW(nullptr), ID_EXPORT_TXT, text, 64);
    EXPECT_STREQ(text, L"\nExport to Tabbed Txt File");
}

}  // namespace
