// Start-up and the file list: which files are listed, how, and the folder picker.
#include "ConvertTestSupport.h"

#include <commctrl.h>

namespace {

using Texts = std::vector<std::string>;

bool MenuItemGrayed(HWND window, UINT id) {
    UINT state = GetMenuState(GetSystemMenu(window, FALSE), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_GRAYED);
}

std::string HeaderText(HWND list, int column) {
    char text[64] = {};
    LVCOLUMNA item{};
    item.mask = LVCF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    return text;
}

using ConvertStartup = ConvertWindowTest;

TEST_F(ConvertStartup, ListsTheFolderDc6FilesSortedWithoutOpeningThePicker) {
    WriteDc6(WorkingFolder() / "b.dc6", SolidDc6(1));
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    WriteDc6(WorkingFolder() / "C.DC6", SolidDc6(1));
    WriteBytes(WorkingFolder() / "notes.txt", {1, 2, 3});
    std::filesystem::create_directory(WorkingFolder() / "folder.dc6");
    OpenWindow();

    EXPECT_EQ(Column(0), (Texts{"a.dc6", "b.dc6", "C.DC6"}));
    EXPECT_EQ(Column(1), (Texts{"No", "No", "No"}));
    EXPECT_EQ(Title(), L"Morvane Converter: (3 files)");
    EXPECT_TRUE(prompts_.FolderTitles.empty());
    EXPECT_TRUE(Enabled(4)) << "Select All";
    EXPECT_FALSE(Enabled(IDOK)) << "Convert waits for a selection";
    EXPECT_TRUE(Enabled(3));
    EXPECT_TRUE(Enabled(IDCANCEL));
    EXPECT_TRUE(Enabled(1003));
    EXPECT_FALSE(MenuItemGrayed(Window(), SC_CLOSE));
    EXPECT_FALSE(MenuItemGrayed(Window(), SC_MOVE));
}

TEST_F(ConvertStartup, ListHasTheFileAndConvertedColumnsAndSelectsWholeRows) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    EXPECT_EQ(HeaderText(List(), 0), "File");
    EXPECT_EQ(HeaderText(List(), 1), "Converted");
    EXPECT_EQ(SendMessageW(List(), LVM_GETCOLUMNWIDTH, 0, 0), 200);
    EXPECT_EQ(SendMessageW(List(), LVM_GETCOLUMNWIDTH, 1, 0), 80);
    EXPECT_TRUE(SendMessageW(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(GetWindowLongW(List(), GWL_STYLE) & LVS_SORTASCENDING);
}

TEST_F(ConvertStartup, FolderWithoutDc6FilesOpensThePickerAtOnceAndCancelKeepsTheEmptyList) {
    prompts_.FolderAnswers.push_back(std::nullopt);
    OpenWindow();
    ASSERT_EQ(prompts_.FolderTitles, (std::vector<std::wstring>{L"Select the folder which contains the DC6 or DCC files..."}));
    EXPECT_EQ(Title(), L"Morvane Converter: (0 files)");
    EXPECT_TRUE(Column(0).empty());
    EXPECT_FALSE(Enabled(4)) << "Select All has nothing to select";
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), WorkingFolder()));
}

TEST_F(ConvertStartup, FolderChosenAtStartBecomesTheWorkingFolderAndIsListed) {
    ScratchDir other;
    WriteDc6(other / "x.dc6", SolidDc6(1));
    prompts_.FolderAnswers.push_back(other.Path().wstring());
    OpenWindow();
    EXPECT_EQ(Column(0), (Texts{"x.dc6"}));
    EXPECT_EQ(Title(), L"Morvane Converter: (1 files)");
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), other.Path()));
    std::filesystem::current_path(WorkingFolder());
}

TEST_F(ConvertStartup, BrowseCancelledLeavesFolderAndList) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    prompts_.FolderAnswers.push_back(std::nullopt);
    Click(3);
    EXPECT_EQ(Column(0), (Texts{"a.dc6"}));
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), WorkingFolder()));
}

TEST_F(ConvertStartup, ConvertedColumnSaysYesWhenTheSheetOrTheFirstFrameFileExists) {
    for (const char* name : {"sheet.dc6", "frames.dc6", "none.dc6"})
        WriteDc6(WorkingFolder() / name, SolidDc6(1));
    std::filesystem::create_directory(WorkingFolder() / "PCXFiles");
    WriteBytes(Output("sheet.pcx"), {1});
    WriteBytes(Output("frames0.pcx"), {1});  // a per-frame conversion leaves no sheet
    WriteBytes(Output("none1.pcx"), {1});
    OpenWindow();
    EXPECT_EQ(Column(0), (Texts{"frames.dc6", "none.dc6", "sheet.dc6"}));
    EXPECT_EQ(Column(1), (Texts{"Yes", "No", "Yes"}));
}

TEST_F(ConvertStartup, OnlyAMouseClickOrSelectAllEnablesConvert) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    WriteDc6(WorkingFolder() / "b.dc6", SolidDc6(1));
    OpenWindow();

    // A selection from the keyboard: the list changes its items, no click notification.
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(List(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    PumpPending();
    EXPECT_FALSE(Enabled(IDOK));

    ClickRows({1});
    EXPECT_TRUE(Enabled(IDOK));
    ClickRows({});
    EXPECT_FALSE(Enabled(IDOK)) << "a click that leaves nothing selected";

    Click(4);
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_EQ(dialog_->CountSelected(), 2);
}

TEST_F(ConvertStartup, QuitEndsTheWindow) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    HWND window = Window();
    Click(IDCANCEL);
    PumpPending();
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
