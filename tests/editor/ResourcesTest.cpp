#include "GuiTestSupport.h"

#include "Handles.h"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

std::wstring MenuText(HMENU menu, UINT id) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return text;
}

TEST(StrindleResources, MainMenuItemsCarryTheirAcceleratorLabels) {
    UniqueMenu menu(LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MAINMENU)));
    ASSERT_TRUE(menu);
    const std::pair<UINT, const wchar_t*> items[] = {
        {ID_FILE_NEW, L"&New...\tCtrl + Shift + N"},
        {ID_FILE_OPEN, L"&Open\tCtrl + O"},
        {ID_FILE_SAVE, L"&Save\tCtrl + S"},
        {ID_FILE_SAVEAS, L"Save &As..."},
        {ID_IMPORT_TXT, L"Import Tabbed Txt File\tCtrl + T"},
        {ID_IMPORT_TBL, L"Import Tbl File\tCtrl + I"},
        {ID_EXPORT_TXT, L"Export To Tabbed Txt"},
        {ID_FILE_EXIT, L"E&xit\tCtrl + Q"},
        {ID_EDIT_ADDKEY, L"&Add Key\tCtrl + N"},
        {ID_EDIT_DELETEKEY, L"&Delete Key\tCtrl + D"},
        {ID_EDIT_SEARCH, L"&Search\tCtrl + F"},
        {ID_EDIT_REPEATSEARCH, L"&Repeat Search\tF3"},
        {ID_EDIT_GOTOINDEX, L"Go To Index #"},
        {ID_EDIT_SELECTALL, L"Select All\tCtrl + A"},
        {ID_OPTIONS_ADVANCED, L"Advanced Mode"},
        {ID_OPTIONS_PARSEONLOAD, L"Parse On Load"},
        {ID_OPTIONS_AUTOSAVEPOS, L"Autosave Window Position"},
        {ID_OPTIONS_SAVEPOS, L"Save Current Position"},
        {ID_OPTIONS_SETDEFAULTDIR, L"Set Default Directory"},
        {ID_OPTIONS_AUTOSAVEPATH, L"Autosave Last Used Path"},
        {ID_HELP_COLORCODES, L"&Color Codes"},
        {IDM_ABOUTBOX, L"&About"},
        {ID_VIEW_GAMEPREVIEW, L"Game &Preview\tCtrl + P"},
    };
    for (const auto& [id, text] : items)
        EXPECT_EQ(MenuText(menu.get(), id), text) << id;
}

TEST(StrindleResources, AcceleratorsSendTheMenuCommands) {
    HACCEL table = LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL keys[32];
    int count = CopyAcceleratorTableW(table, keys, 32);
    auto command = [&](BYTE modifiers, WORD key) -> int {
        for (int i = 0; i < count; ++i)
            if ((keys[i].fVirt & ~FNOINVERT) == (FVIRTKEY | modifiers) && keys[i].key == key)
                return keys[i].cmd;
        return 0;
    };
    EXPECT_EQ(command(FCONTROL | FSHIFT, 'N'), ID_FILE_NEW);
    EXPECT_EQ(command(FCONTROL, 'N'), ID_EDIT_ADDKEY);
    EXPECT_EQ(command(0, VK_INSERT), ID_EDIT_ADDKEY);
    EXPECT_EQ(command(FCONTROL, 'O'), ID_FILE_OPEN);
    EXPECT_EQ(command(FCONTROL, 'S'), ID_FILE_SAVE);
    EXPECT_EQ(command(FCONTROL, 'T'), ID_IMPORT_TXT);
    EXPECT_EQ(command(FCONTROL, 'I'), ID_IMPORT_TBL);
    EXPECT_EQ(command(FCONTROL, 'Q'), ID_FILE_EXIT);
    EXPECT_EQ(command(FCONTROL, 'D'), ID_EDIT_DELETEKEY);
    EXPECT_EQ(command(FCONTROL, 'F'), ID_EDIT_SEARCH);
    EXPECT_EQ(command(0, VK_F3), ID_EDIT_REPEATSEARCH);
    EXPECT_EQ(command(FCONTROL, 'H'), ID_EDIT_REPLACE);
    EXPECT_EQ(command(FCONTROL, 'A'), ID_EDIT_SELECTALL);
    EXPECT_EQ(command(FCONTROL, 'P'), ID_VIEW_GAMEPREVIEW);
    EXPECT_EQ(command(FCONTROL, 'Z'), ID_EDIT_UNDO);
    EXPECT_EQ(command(FALT, VK_BACK), ID_EDIT_UNDO);
    EXPECT_EQ(command(FCONTROL, 'Y'), ID_EDIT_REDO);
    EXPECT_EQ(command(FCONTROL | FSHIFT, 'Z'), ID_EDIT_REDO);
    EXPECT_EQ(command(FCONTROL, 'R'), ID_VIEW_REFERENCE);
    EXPECT_EQ(command(0, VK_F8), ID_VIEW_NEXTPROBLEM);
    EXPECT_EQ(command(FSHIFT, VK_F8), ID_VIEW_PREVIOUSPROBLEM);
    EXPECT_EQ(count, 21);
}

TEST(StrindleResources, ContextAndColourMenusHoldTheirItems) {
    UniqueMenu list(LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_LISTMENU)));
    HMENU listPopup = GetSubMenu(list.get(), 0);
    ASSERT_EQ(GetMenuItemCount(listPopup), 8);
    EXPECT_EQ(GetMenuItemID(listPopup, 0), static_cast<UINT>(ID_EDIT_UNDO));
    EXPECT_EQ(GetMenuItemID(listPopup, 1), static_cast<UINT>(ID_EDIT_REDO));
    EXPECT_EQ(GetMenuItemID(listPopup, 3), static_cast<UINT>(ID_LIST_COPY));
    EXPECT_EQ(GetMenuItemID(listPopup, 4), static_cast<UINT>(ID_LIST_CUT));
    EXPECT_EQ(GetMenuItemID(listPopup, 6), static_cast<UINT>(ID_LIST_PASTE));
    EXPECT_EQ(MenuText(listPopup, ID_EDIT_SELECTALL), L"Select All");

    UniqueMenu window(LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_WINDOWMENU)));
    EXPECT_EQ(MenuText(GetSubMenu(window.get(), 0), ID_SHOWTEXTONITEM), L"Show Text on Item");

    UniqueMenu colours(LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_COLORSMENU)));
    HMENU coloursPopup = GetSubMenu(colours.get(), 0);
    ASSERT_EQ(GetMenuItemCount(coloursPopup), 13);
    EXPECT_EQ(MenuText(coloursPopup, 32783), L"&Red");
    EXPECT_EQ(MenuText(coloursPopup, 32795), L"Tran&sparent");
}

TEST(StrindleResources, TemplatesIconsAndBitmapsArePresent) {
    for (UINT id : {IDD_ABOUTBOX, IDD_STRINDLE_DIALOG, IDD_ADDSTRING, IDD_SEARCH, IDD_COLORHLP, IDD_KEYEDIT,
                    IDD_GOINDEX, IDD_ITEMTXT, IDD_INDEXNUMBER})
        EXPECT_NE(FindResourceW(Module(), MAKEINTRESOURCEW(id), RT_DIALOG), nullptr) << id;
    for (UINT id : {IDR_MAINFRAME, IDI_UP, IDI_DOWN})
        EXPECT_NE(LoadIconW(Module(), MAKEINTRESOURCEW(id)), nullptr) << id;
    UniqueGdi<HBITMAP> browse(LoadBitmapW(Module(), MAKEINTRESOURCEW(IDB_BROWSE)));
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(browse.get(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 16);
    UniqueGdi<HBITMAP> toolbar(LoadBitmapW(Module(), MAKEINTRESOURCEW(IDR_TOOLBAR)));
    ASSERT_TRUE(GetObjectW(toolbar.get(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 13 * 16);  // one 16 x 15 image per button
    EXPECT_EQ(info.bmHeight, 15);
    wchar_t about[64] = {};
    LoadStringW(Module(), IDS_ABOUTBOX, about, 64);
    EXPECT_STREQ(about, L"&About Strindle...");
}

}  // namespace
