#include "GuiTestSupport.h"

#include "TblHash.h"
#include "TestSupport.h"
#include "WideText_win.h"

#include <richedit.h>

namespace {

bool EditorReadOnly(HWND editor) { return (GetWindowLongW(editor, GWL_STYLE) & ES_READONLY) != 0; }

class MainWindow : public MainWindowTest {};

TEST_F(MainWindow, StartsEmptyWithEntryCommandsGreyedAndEditorReadOnly) {
    OpenWindow();
    EXPECT_EQ(TitleOf(Window()), L"Strindle - Untitled");
    for (UINT id : EntryMenuCommands)
        EXPECT_TRUE(MenuItemGrayed(Window(), id)) << id;
    for (UINT id : EntryToolbarButtons)
        EXPECT_FALSE(ToolbarButtonEnabled(Dialog().Toolbar(), id)) << id;
    EXPECT_TRUE(ToolbarButtonEnabled(Dialog().Toolbar(), ID_FILE_NEW));
    EXPECT_TRUE(ToolbarButtonEnabled(Dialog().Toolbar(), ID_INDEXNUMBERS));
    EXPECT_TRUE(EditorReadOnly(Dialog().ValueEditor()));
    EXPECT_FALSE(IsWindowEnabled(Dialog().ValueEditor()));
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 0), L"Ready.");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 2), L"Index: 0(0h)/0(0h)");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 3), L"Hash: 0/0h");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 4), L"1.11u");
}

TEST_F(MainWindow, LoadedTableEnablesEntryCommandsAndEditor) {
    OpenTableOf(3);
    for (UINT id : EntryMenuCommands)
        EXPECT_FALSE(MenuItemGrayed(Window(), id)) << id;
    for (UINT id : EntryToolbarButtons)
        EXPECT_TRUE(ToolbarButtonEnabled(Dialog().Toolbar(), id)) << id;
    EXPECT_FALSE(EditorReadOnly(Dialog().ValueEditor()));
    EXPECT_TRUE(IsWindowEnabled(Dialog().ValueEditor()));
}

TEST_F(MainWindow, StatusShowsCaretIndexAndLastIndexInDecimalAndHex) {
    OpenTableOf(300);
    SelectRow(255);
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 2), L"Index: 255(FFh)/299(12Bh)");
    EXPECT_EQ(EditorText(), L"value255");
    uint32_t hash = TblKeyHash(u"value255", 300);
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 3), FormatText(L"Hash: %u/%Xh", hash, hash));
}

// In a narrow window the other parts give up what their texts do not need, so that the
// activity texts ("Loading....", "Compiling....") are not cut.
TEST_F(MainWindow, StatusActivityTextsFitInANarrowWindow) {
    OpenWindow();
    HWND status = Dialog().StatusBar();
    int edges[5] = {};
    SendMessageW(status, SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges));
    RECT window{}, client{};
    GetWindowRect(Window(), &window);
    GetClientRect(Window(), &client);
    const int otherParts = client.right - edges[0];
    SetWindowPos(Window(), nullptr, 0, 0, window.right - window.left - client.right + otherParts + 30,
                 window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT part{};
    SendMessageW(status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    EXPECT_GE(part.right - part.left, TextWidthIn(status, L"Compiling....") + 6);
}

TEST_F(MainWindow, TypingMarksModifiedOnceWithStarAndNotSaved) {
    OpenTableOf(2);
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 1), L"Loaded");
    Type(L"X");
    EXPECT_TRUE(Dialog().Document.Modified);
    EXPECT_EQ(Dialog().Document.Value(0), u"value0X");
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl*");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 1), L"Not Saved");

    // Further typing changes the value but puts up nothing new.
    Dialog().SetStatusText(1, L"check");
    Type(L"Y");
    EXPECT_EQ(Dialog().Document.Value(0), u"value0XY");
    EXPECT_EQ(StatusText(Dialog().StatusBar(), 1), L"check");
}

TEST_F(MainWindow, SelectingAnotherRowNeverMarksModified) {
    OpenTableOf(5);
    SelectRow(3);
    SelectRow(1);
    EXPECT_EQ(EditorText(), L"value1");
    EXPECT_FALSE(Dialog().Document.Modified);
    EXPECT_EQ(TitleOf(Window()), L"Strindle - table.tbl");
}

TEST_F(MainWindow, ClosingModifiedAnsweredNoStaysOpenWithSwitchesStored) {
    OpenTableOf(2);
    Type(L"!");
    SendCommand(ID_OPTIONS_ADVANCED);
    prompts_.MessageAnswers.push_back(IDNO);
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"File not Saved, Continue??");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Caution");
    EXPECT_EQ(prompts_.Messages[0].Type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(Dialog().Document.Modified);
    EXPECT_EQ(StoredNumber(L"Advanced Mode"), 1u);
}

TEST_F(MainWindow, ClosingModifiedAnsweredYesEnds) {
    OpenTableOf(1);
    Type(L"!");
    prompts_.MessageAnswers.push_back(IDYES);
    SendCommand(ID_FILE_EXIT);
    EXPECT_EQ(Dialog().Handle(), nullptr);
}

TEST_F(MainWindow, ClosingCleanAsksNothing) {
    OpenTableOf(1);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // Esc
    EXPECT_TRUE(prompts_.Messages.empty());
    EXPECT_EQ(Dialog().Handle(), nullptr);
}

TEST_F(MainWindow, EnterDoesNotClose) {
    OpenTableOf(1);
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(MainWindow, ResizePlacesListAndEditorByClientWidth) {
    OpenWindow();
    RECT window, client;
    GetWindowRect(Window(), &window);
    GetClientRect(Window(), &client);
    int frameWidth = (window.right - window.left) - client.right;
    int frameHeight = (window.bottom - window.top) - client.bottom;
    SetWindowPos(Window(), nullptr, 0, 0, 600 + frameWidth, 400 + frameHeight, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(Window(), &client);
    ASSERT_EQ(client.right, 600);

    auto placement = [&](HWND control) {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    RECT list = placement(Dialog().KeyList().Handle());
    RECT editor = placement(Dialog().ValueEditor());
    EXPECT_EQ(list.left, 5);
    EXPECT_EQ(list.top, 34);
    EXPECT_EQ(list.right - list.left, 200);
    EXPECT_EQ(list.bottom - list.top, client.bottom - 65);
    EXPECT_EQ(editor.left, 232);
    EXPECT_EQ(editor.right - editor.left, 363);

    int edges[5] = {};
    ASSERT_EQ(SendMessageW(Dialog().StatusBar(), SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges)), 5);
    // Parts widen leftwards where the status bar's font needs more than the layout gives.
    EXPECT_LE(edges[0], 200);
    EXPECT_LE(edges[1], 275);
    EXPECT_LE(edges[2], 450);
    EXPECT_EQ(edges[3], 550);
}

// The width the splitter left is kept, but never so wide that the editor goes, nor so narrow
// that the list does.
TEST_F(MainWindow, StoredKeyListWidthIsUsedWithinTheWindow) {
    const struct {
        DWORD Stored;
        int Width;
    } cases[] = {{0, 200}, {260, 260}, {5000, 600 - 37 - 40}, {3, 40}, {0xFFFFFFF0, 200}};
    for (const auto& c : cases) {
        StoreNumber(L"Key List Width", c.Stored);
        dialog_.reset();
        OpenWindow();
        RECT window, client;
        GetWindowRect(Window(), &window);
        GetClientRect(Window(), &client);
        SetWindowPos(Window(), nullptr, 0, 0, 600 + (window.right - window.left) - client.right,
                     400 + (window.bottom - window.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
        RECT list, editor;
        GetWindowRect(Dialog().KeyList().Handle(), &list);
        GetWindowRect(Dialog().ValueEditor(), &editor);
        EXPECT_EQ(list.right - list.left, c.Width) << c.Stored;
        EXPECT_EQ(editor.left - list.right, 27) << c.Stored;
    }
}

TEST_F(MainWindow, AdvancedModeShowsUpAndDownButtons) {
    OpenWindow();
    HWND up = GetDlgItem(Window(), IDC_UP);
    HWND down = GetDlgItem(Window(), IDC_DOWN);
    EXPECT_FALSE(ShownWithParent(up));
    SendCommand(ID_OPTIONS_ADVANCED);
    EXPECT_TRUE(MenuItemChecked(Window(), ID_OPTIONS_ADVANCED));
    EXPECT_TRUE(ShownWithParent(up));
    EXPECT_TRUE(IsWindowEnabled(down));
    SendCommand(ID_OPTIONS_ADVANCED);
    EXPECT_FALSE(MenuItemChecked(Window(), ID_OPTIONS_ADVANCED));
    EXPECT_FALSE(ShownWithParent(down));
    EXPECT_FALSE(IsWindowEnabled(up));
}

TEST_F(MainWindow, ToolTipsAreTheCommandStrings) {
    OpenWindow();
    auto tip = [&](UINT id) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = Dialog().Toolbar();
        info.hdr.idFrom = id;
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText ? info.lpszText : L"");
    };
    EXPECT_EQ(tip(ID_FILE_NEW), L"New");
    EXPECT_EQ(tip(ID_EDIT_REPEATSEARCH), L"Search Next");
    EXPECT_EQ(tip(ID_IMPORT_TXT), L"Tapped txt import");
    EXPECT_EQ(tip(ID_INDEXNUMBERS), L"Show ID Number for Index");
    EXPECT_EQ(tip(ID_FILE_EXIT), L"");

    NMTTDISPINFOA narrow{};
    narrow.hdr.idFrom = ID_EDIT_GOTOINDEX;
    narrow.hdr.code = TTN_GETDISPINFOA;
    SendMessageW(Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&narrow));
    EXPECT_STREQ(narrow.lpszText, "Go to Index #");
}

TEST_F(MainWindow, ToolbarHasTheButtonsInOrderWithBars) {
    OpenWindow();
    const int expected[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_SEARCH, ID_EDIT_REPEATSEARCH,
                            ID_EDIT_GOTOINDEX, 0, ID_EDIT_ADDKEY, ID_EDIT_DELETEKEY, 0, ID_COLORS, 0,
                            ID_IMPORT_TBL, ID_IMPORT_TXT, 0, ID_SHOWITEMTEXT, ID_INDEXNUMBERS,
                            0, 0};  // the place of the "Language" drop-down
    ASSERT_EQ(SendMessageW(Dialog().Toolbar(), TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(std::size(expected)));
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
        TBBUTTON button{};
        SendMessageW(Dialog().Toolbar(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (expected[i] == 0)
            EXPECT_TRUE(button.fsStyle & BTNS_SEP) << i;
        else
            EXPECT_EQ(button.idCommand, expected[i]) << i;
    }
    TBBUTTONINFOW info{sizeof info, TBIF_STYLE};
    SendMessageW(Dialog().Toolbar(), TB_GETBUTTONINFOW, ID_COLORS, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(info.fsStyle & BTNS_DROPDOWN);
}

// A white swatch must show on a white menu: every swatch has a border, and its colour's name.
TEST_F(MainWindow, ColourItemsShowABorderedSwatchAndTheColoursName) {
    OpenWindow();
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 32789};
    SendMessageW(Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    EXPECT_GT(static_cast<int>(measure.itemWidth), 4 * menuHeight + 20) << "no room for the name";
    EXPECT_EQ(static_cast<int>(measure.itemHeight), menuHeight);

    const int width = static_cast<int>(measure.itemWidth);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, menuHeight);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = 32789;  // "&Purple"
    draw.hDC = dc;
    draw.rcItem = {0, 0, width, menuHeight};
    SendMessageW(Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    const int swatchLeft = 6 + GetSystemMetrics(SM_CXMENUCHECK);
    const COLORREF text = GetSysColor(COLOR_MENUTEXT);
    EXPECT_EQ(GetPixel(dc, swatchLeft + 2, menuHeight / 2), RGB(150, 90, 250));
    EXPECT_EQ(GetPixel(dc, swatchLeft + 2, 4), text) << "the swatch's border";
    EXPECT_EQ(GetPixel(dc, 3, 2), GetSysColor(COLOR_MENU));  // outside the swatch
    int namePixels = 0;
    for (int x = 4 * menuHeight; x < width; ++x)
        for (int y = 0; y < menuHeight; ++y)
            namePixels += GetPixel(dc, x, y) == text;
    EXPECT_GT(namePixels, 10) << "the name is drawn after the swatch";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(MainWindow, KeyListMenuGreysCopyAndCutWithoutRows) {
    OpenWindow();
    HMENU menu = Dialog().KeyList().PreparedMenu();
    EXPECT_TRUE(GetMenuState(menu, ID_LIST_COPY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, ID_LIST_CUT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, ID_EDIT_SELECTALL, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainWindow, KeyListMenuEnablesCopyAndCutWithRows) {
    OpenTableOf(1);
    HMENU menu = Dialog().KeyList().PreparedMenu();
    EXPECT_FALSE(GetMenuState(menu, ID_LIST_COPY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(menu, ID_LIST_CUT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainWindow, DeselectAllClearsEverySelectedRow) {
    OpenTableOf(6);
    for (int row : {1, 3, 4})
        Dialog().KeyList().Select(row, true);
    Dialog().DeselectAll();
    EXPECT_TRUE(Dialog().KeyList().SelectedRows().empty());
}

// Type-ahead: letters typed less than a second apart make one prefix; after a pause, or with
// the same letter again, the list goes on to the next key starting with the letter.
TEST_F(MainWindow, TypedLettersGoToTheKeyStartingWithThem) {
    OpenTable({u"apple", u"sat", u"rope", u"Strength", u"string"}, {u"", u"", u"", u"", u""});
    const struct {
        wchar_t Letter;
        DWORD Time;
        int Row;
    } typed[] = {
        {L's', 1000, 1}, {L't', 1100, 3}, {L'r', 1200, 3}, {L'i', 1300, 4},  // "stri"
        {L's', 3000, 1},  // after a pause: a new prefix, from the row after the caret
        {L's', 3100, 3},  // the same letter again: the next key starting with it
        {L'x', 3200, -1}, // continues no key and starts none
    };
    CListBoxEx& list = Dialog().KeyList();
    list.SetCaret(0);
    for (const auto& step : typed) {
        const int row = list.RowForTyped(step.Letter, step.Time);
        EXPECT_EQ(row, step.Row) << "typed " << static_cast<char>(step.Letter) << " at " << step.Time;
        if (row >= 0)
            list.SetCaret(row);
    }
}

TEST_F(MainWindow, MinimisedWindowDragsIcon128) {
    OpenWindow();
    // The dialog procedure's own return value is the result: not "handled", not a default icon.
    auto icon = reinterpret_cast<HICON>(SendMessageW(Window(), WM_QUERYDRAGICON, 0, 0));
    EXPECT_EQ(icon, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
}

TEST_F(MainWindow, FailingCommandSaysWhatFailedAndLeavesTheTableAsItWas) {
    OpenTableOf(4);
    Type(L"!");
    bool thrown = false;
    prompts_.WhileShown = [&](const ScriptedPrompts::ShownMessage&) {
        if (!thrown) {
            thrown = true;
            throw std::runtime_error("the disk went away");
        }
    };
    prompts_.MessageAnswers.push_back(IDYES);  // never taken: the question throws
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(ID_EDIT_DELETEKEY, 0), 0);
    prompts_.MessageAnswers.clear();
    ASSERT_TRUE(IsWindow(Window()));
    ASSERT_EQ(prompts_.Messages.size(), 2u);
    EXPECT_EQ(prompts_.Messages[1].Text, L"The command failed: the disk went away. The table is as it was before it.");
    EXPECT_EQ(Dialog().Document.Count(), 4u);
    EXPECT_EQ(Dialog().Document.Value(0), u"value0!");
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_TRUE(Dialog().Document.Modified) << "the unsaved edit is still there to save";
}

TEST_F(MainWindow, SystemMenuHasAboutStrindle) {
    OpenWindow();
    HMENU system = GetSystemMenu(Window(), FALSE);
    wchar_t text[64] = {};
    ASSERT_GT(GetMenuStringW(system, IDM_ABOUTBOX, text, 64, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, L"&About Strindle...");
}

}  // namespace
