// The recent-files list of the File menu, tables dropped on the window, and where Save As starts.
#include "GuiTestSupport.h"

#include "RecentFiles.h"
#include "WideText_win.h"

#include <shlobj.h>

#include <cstring>

namespace {

TEST(RecentFileList, NewestComesFirstAndTheOldestFallsOffBeyondFour) {
    std::vector<std::wstring> list;
    for (const wchar_t* path : {L"C:\\a.tbl", L"C:\\b.tbl", L"C:\\c.tbl", L"C:\\d.tbl", L"C:\\e.tbl"})
        AddRecentFile(list, path);
    EXPECT_EQ(list, (std::vector<std::wstring>{L"C:\\e.tbl", L"C:\\d.tbl", L"C:\\c.tbl", L"C:\\b.tbl"}));
}

TEST(RecentFileList, ReopeningAFileMovesItFirstWhateverItsCase) {
    std::vector<std::wstring> list{L"C:\\x\\One.tbl", L"C:\\x\\Two.tbl", L"C:\\x\\Three.tbl"};
    AddRecentFile(list, L"c:\\X\\TWO.TBL");
    EXPECT_EQ(list, (std::vector<std::wstring>{L"c:\\X\\TWO.TBL", L"C:\\x\\One.tbl", L"C:\\x\\Three.tbl"}));
    RemoveRecentFile(list, L"C:\\X\\ONE.tbl");
    EXPECT_EQ(list, (std::vector<std::wstring>{L"c:\\X\\TWO.TBL", L"C:\\x\\Three.tbl"}));
}

TEST(RecentFileList, MenuTextNumbersTheEntryAndShowsAmpersandsAsThemselves) {
    EXPECT_EQ(RecentFileMenuText(0, L"C:\\Mods\\R&D\\string.tbl"), L"&1 C:\\Mods\\R&&D\\string.tbl");
    EXPECT_EQ(RecentFileMenuText(3, L"D:\\x.tbl"), L"&4 D:\\x.tbl");
}

// A drop of `paths` on the window, as the shell delivers it.
void DropFiles(HWND window, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // the window frees it
}

class RecentFiles : public MainWindowTest {
protected:
    std::vector<std::wstring> MenuEntries() {
        HMENU file = GetSubMenu(GetMenu(Window()), 0);
        std::vector<std::wstring> entries;
        for (UINT id = ID_FILE_RECENT_FIRST; id <= ID_FILE_RECENT_LAST; ++id) {
            wchar_t text[MAX_PATH + 8] = {};
            if (GetMenuStringW(file, id, text, MAX_PATH + 8, MF_BYCOMMAND) > 0 &&
                !(GetMenuState(file, id, MF_BYCOMMAND) & MF_GRAYED))
                entries.push_back(text);
        }
        return entries;
    }
    std::wstring first_, second_;
    void MakeTwoTables() {
        first_ = MakeTable("first.tbl", {u"one"}, {u"1"});
        second_ = MakeTable("second.tbl", {u"two", u"three"}, {u"2", u"3"});
    }
};

TEST_F(RecentFiles, StartsWithAGreyedPlaceholder) {
    OpenWindow();
    HMENU file = GetSubMenu(GetMenu(Window()), 0);
    wchar_t text[64] = {};
    GetMenuStringW(file, ID_FILE_RECENT_FIRST, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Recent Files");
    EXPECT_TRUE(GetMenuState(file, ID_FILE_RECENT_FIRST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(MenuEntries().empty());
}

TEST_F(RecentFiles, OpenedFilesAreListedNewestFirstAndStored) {
    MakeTwoTables();
    OpenWindow();
    OpenFile(first_);
    OpenFile(second_);
    EXPECT_EQ(MenuEntries(), (std::vector<std::wstring>{L"&1 " + second_, L"&2 " + first_}));
    EXPECT_EQ(StoredText(L"Recent File 1"), second_);
    EXPECT_EQ(StoredText(L"Recent File 2"), first_);

    // The next start shows the same list.
    dialog_.reset();
    OpenWindow();
    EXPECT_EQ(MenuEntries(), (std::vector<std::wstring>{L"&1 " + second_, L"&2 " + first_}));
}

TEST_F(RecentFiles, ChoosingAnEntryOpensItsFile) {
    MakeTwoTables();
    OpenWindow();
    OpenFile(first_);
    OpenFile(second_);
    SendCommand(ID_FILE_RECENT_FIRST + 1);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"one"}));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - first.tbl");
    EXPECT_EQ(MenuEntries().front(), L"&1 " + first_);
}

TEST_F(RecentFiles, ChoosingAnEntryAsksBeforeUnsavedChangesGo) {
    MakeTwoTables();
    OpenWindow();
    OpenFile(first_);
    OpenFile(second_);
    Type(L"!");
    prompts_.MessageAnswers.push_back(IDNO);
    SendCommand(ID_FILE_RECENT_FIRST + 1);
    ASSERT_EQ(prompts_.Texts(), std::vector<std::wstring>{L"File not Saved, Continue??"});
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"two", L"three"}));
    EXPECT_EQ(Dialog().Document.Value(0), u"2!");

    prompts_.MessageAnswers.push_back(IDYES);
    SendCommand(ID_FILE_RECENT_FIRST + 1);
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"one"}));
}

TEST_F(RecentFiles, AnEntryWhoseFileIsGoneSaysSoAndLeavesTheList) {
    MakeTwoTables();
    OpenWindow();
    OpenFile(first_);
    OpenFile(second_);
    ASSERT_TRUE(DeleteFileW(first_.c_str()));
    SendCommand(ID_FILE_RECENT_FIRST + 1);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Error");
    EXPECT_EQ(MenuEntries(), std::vector<std::wstring>{L"&1 " + second_});
    EXPECT_EQ(StoredText(L"Recent File 2"), L"");
}

TEST_F(RecentFiles, SaveAsListsTheNewFile) {
    MakeTwoTables();
    OpenWindow();
    OpenFile(first_);
    std::wstring copy = (scratch_ / "copy.tbl").wstring();
    prompts_.FileAnswers.push_back(copy);
    SendCommand(ID_FILE_SAVEAS);
    EXPECT_EQ(MenuEntries().front(), L"&1 " + copy);
}

TEST_F(RecentFiles, SaveAsStartsInTheFilesFolderWithItsName) {
    MakeTwoTables();
    OpenWindow();
    OpenFile(second_);
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_SAVEAS);
    ASSERT_EQ(prompts_.FileRequests.size(), 2u);
    EXPECT_EQ(prompts_.FileRequests[1].InitialFolder, scratch_.Path().wstring() + L"\\");
    EXPECT_EQ(prompts_.FileRequests[1].InitialFileName, L"second.tbl");
}

TEST_F(RecentFiles, SaveAsOfAnUntitledTableStartsInTheDefaultDirectory) {
    OpenWindow();
    prompts_.FileAnswers.push_back(std::nullopt);
    SendCommand(ID_FILE_SAVEAS);
    ASSERT_EQ(prompts_.FileRequests.size(), 1u);
    EXPECT_EQ(prompts_.FileRequests[0].InitialFolder, L"C:\\");
    EXPECT_EQ(prompts_.FileRequests[0].InitialFileName, L"*.tbl");
}

TEST_F(RecentFiles, ADroppedTableOpensAndOtherFilesAreIgnored) {
    MakeTwoTables();
    std::wstring text = (scratch_ / "notes.txt").wstring();
    WriteBytes(scratch_ / "notes.txt", {'x'});
    OpenWindow();
    DropFiles(Window(), {text, second_});
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"two", L"three"}));
    EXPECT_EQ(TitleOf(Window()), L"Strindle - second.tbl");
    EXPECT_EQ(MenuEntries().front(), L"&1 " + second_);

    DropFiles(Window(), {text});
    EXPECT_EQ(TitleOf(Window()), L"Strindle - second.tbl");
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(RecentFiles, ADropAsksBeforeUnsavedChangesGo) {
    MakeTwoTables();
    OpenWindow();
    OpenFile(first_);
    Type(L"?");
    prompts_.MessageAnswers.push_back(IDNO);
    DropFiles(Window(), {second_});
    EXPECT_EQ(prompts_.Texts(), std::vector<std::wstring>{L"File not Saved, Continue??"});
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"one"}));
    EXPECT_TRUE(Dialog().Document.Modified);

    prompts_.MessageAnswers.push_back(IDYES);
    DropFiles(Window(), {second_});
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"two", L"three"}));
    EXPECT_FALSE(Dialog().Document.Modified);
}

}  // namespace
