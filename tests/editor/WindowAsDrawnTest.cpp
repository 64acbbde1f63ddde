// What Strindle's windows show: every fixed text whole in its control at the dialog font, the
// status parts wide enough for their texts, the value editor's font, the Up and Down buttons
// drawn at their place after a resize, no tip over the open Colors menu, and the key list's rows.
#include "GuiTestSupport.h"

#include "AuxiliaryTexts.h"
#include "WideText_win.h"

#include <richedit.h>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The width a control needs beside its text: the box of a check box or radio button, the
// frame of a push button, the indent of a group box's caption.
int ChromeWidth(HWND control) {
    LONG style = GetWindowLongW(control, GWL_STYLE);
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return GetSystemMetrics(SM_CXMENUCHECK) + 4;
    case BS_GROUPBOX:
        return 16;
    default:
        return 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    }
}

// Each static text and button caption of `dialog` fits its control on one line, and each
// control lies inside the dialog.
void ExpectTextsWhole(HWND dialog, const char* name) {
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        std::wstring text = WindowText(control);
        std::wstring kind = ClassOf(control);
        LONG style = GetWindowLongW(control, GWL_STYLE);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right && rect.bottom <= client.bottom)
            << name << ": " << Narrow(text) << " reaches outside the dialog";
        if (text.empty())
            continue;
        int chrome = 0;
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            if ((style & BS_TYPEMASK) == BS_OWNERDRAW)
                continue;  // draws a picture, not its caption
            chrome = ChromeWidth(control);
        } else if (_wcsicmp(kind.c_str(), L"Static") != 0) {
            continue;
        } else if ((style & SS_TYPEMASK) > SS_RIGHT && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP) {
            continue;  // an icon or a frame
        }
        SIZE needed = TextExtentIn(control, text, (style & SS_NOPREFIX) == 0);
        EXPECT_LE(needed.cx + chrome, rect.right - rect.left)
            << name << ": \"" << Narrow(text) << "\" is cut (" << needed.cx << " + " << chrome << " pixels)";
        EXPECT_LE(needed.cy, rect.bottom - rect.top) << name << ": \"" << Narrow(text) << "\" is cut below";
    }
}

class WindowAsDrawn : public MainWindowTest {
protected:
    RECT StatusPart(int part) {
        RECT rect{};
        SendMessageW(Dialog().StatusBar(), SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    // The status bar draws each part's text inside the part's frame.
    void ExpectStatusHolds(int part, const std::wstring& text) {
        RECT rect = StatusPart(part);
        int inner = rect.right - rect.left - 2 * GetSystemMetrics(SM_CXEDGE) - 2;
        EXPECT_LE(TextExtentIn(Dialog().StatusBar(), text, false).cx, inner) << "part " << part << ": " << Narrow(text);
    }
    void ExpectEditorFontArialEightNotBold(const char* when) {
        HWND editor = Dialog().ValueEditor();
        SendMessageW(editor, EM_SETSEL, 0, -1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        SendMessageW(editor, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_TRUE(format.dwMask & CFM_FACE) << when << ": more than one face";
        EXPECT_STREQ(format.szFaceName, L"Arial") << when;
        EXPECT_TRUE(format.dwMask & CFM_SIZE) << when << ": more than one size";
        EXPECT_EQ(format.yHeight, 160) << when;
        EXPECT_TRUE(format.dwMask & CFM_BOLD) << when;
        EXPECT_FALSE(format.dwEffects & CFE_BOLD) << when;
    }
    void ResizeClient(int cx, int cy) {
        RECT window, client;
        GetWindowRect(Window(), &window);
        GetClientRect(Window(), &client);
        SetWindowPos(Window(), nullptr, 0, 0, cx + (window.right - window.left) - client.right,
                     cy + (window.bottom - window.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
    bool PaintsPending() {
        RECT rect;
        return GetUpdateRect(Window(), &rect, FALSE) || GetUpdateRect(GetDlgItem(Window(), IDC_UP), &rect, FALSE) ||
               GetUpdateRect(GetDlgItem(Window(), IDC_DOWN), &rect, FALSE);
    }
};

TEST_F(WindowAsDrawn, EveryDialogShowsItsFixedTextsWhole) {
    const std::pair<UINT, const char*> templates[] = {
        {IDD_ABOUTBOX, "About"},          {IDD_ADDSTRING, "Add Index String"}, {IDD_SEARCH, "Search"},
        {IDD_COLORHLP, "Color Codes"},    {IDD_KEYEDIT, "Edit Key String"},    {IDD_GOINDEX, "Go To Index #"},
        {IDD_ITEMTXT, "Item text"},       {IDD_INDEXNUMBER, "Index Numbers"},  {IDD_TXTIMPORT, "Txt Import"},
        {IDD_TXTEXPORT, "Txt Export"},
    };
    for (const auto& [id, name] : templates) {
        HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, PlainDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << name;
        if (id == IDD_ABOUTBOX)
            SetDlgItemTextW(dialog, IDC_ABOUTTEXT, WideChars(AboutText()));
        ExpectTextsWhole(dialog, name);
        DestroyWindow(dialog);
    }
}

TEST_F(WindowAsDrawn, StatusPartsHoldTheirTexts) {
    OpenWindow();
    ExpectStatusHolds(0, L"Compiling....");
    ExpectStatusHolds(1, L"Save Error");
    ExpectStatusHolds(1, L"Not Saved");
    ExpectStatusHolds(2, Status(2));
    ExpectStatusHolds(3, Status(3));
    ExpectStatusHolds(4, L"1.11u");
}

TEST_F(WindowAsDrawn, StatusPartsHoldTheIndexAndHashOfLargeTables) {
    for (int count : {5391, 10001}) {
        OpenTableOf(count);
        SelectRow(count - 1);
        ExpectStatusHolds(2, Status(2));
        ExpectStatusHolds(3, Status(3));
        SelectRow(696);
        ExpectStatusHolds(2, Status(2));
        ExpectStatusHolds(3, Status(3));
    }
}

TEST_F(WindowAsDrawn, StatusPartsKeepTheirPlaceFromTheRightEdge) {
    OpenWindow();
    ResizeClient(900, 400);
    // Widened parts grow leftwards; each is at least as wide as the layout gives it.
    int edges[5] = {};
    ASSERT_EQ(SendMessageW(Dialog().StatusBar(), SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges)), 5);
    EXPECT_EQ(edges[4], 900);
    EXPECT_GE(edges[4] - edges[3], 50);
    EXPECT_GE(edges[3] - edges[2], 100);
    EXPECT_GE(edges[2] - edges[1], 175);
    EXPECT_GE(edges[1] - edges[0], 75);
}

TEST_F(WindowAsDrawn, ValueEditorUsesArialEightPointForPickedAndTypedText) {
    OpenTable({u"first", u"second"}, {u"Picked value", u"Another"});
    SelectRow(1);
    ExpectEditorFontArialEightNotBold("picked in the list");
    Type(L" typed");
    ExpectEditorFontArialEightNotBold("typed into a picked value");
}

TEST_F(WindowAsDrawn, UpAndDownShowTheirArrowsWhenAdvancedModeIsSwitchedOn) {
    OpenWindow();
    SendCommand(ID_OPTIONS_ADVANCED);
    for (int id : {IDC_UP, IDC_DOWN}) {
        EXPECT_EQ(WindowText(GetDlgItem(Window(), id)), L"") << "a caption does not fit the 27-pixel button";
        RECT rect;
        GetClientRect(GetDlgItem(Window(), id), &rect);
        EXPECT_EQ(rect.right, 27);
        EXPECT_EQ(rect.bottom, 40);
    }
}

TEST_F(WindowAsDrawn, UpAndDownAreDrawnWholeAtTheirNewPlaceAfterAResize) {
    StoreNumber(L"Advanced Mode", 1);
    OpenWindow();
    ShowWindow(Window(), SW_SHOWNORMAL);
    ResizeClient(500, 360);
    ASSERT_TRUE(PumpUntil([&] { return !PaintsPending(); }));
    ResizeClient(620, 420);
    ASSERT_TRUE(PumpUntil([&] { return !PaintsPending(); }));
    for (int id : {IDC_UP, IDC_DOWN}) {
        CImageButton button;
        button.Attach(GetDlgItem(Window(), id));
        button.SetIcon(id == IDC_UP ? IDI_UP : IDI_DOWN);
        DrawnButton expected(button, 0);
        // The button as the screen shows it: compared with the window's own button, as the
        // window would have drawn it, pixel by pixel.
        ShownWindow shown(button.Handle());
        int differing = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 27; ++x)
                differing += shown.Pixel(x, y) != expected.Pixel(x, y);
        EXPECT_EQ(differing, 0) << (id == IDC_UP ? "Up" : "Down");
    }
    ShowWindow(Window(), SW_HIDE);
}

HWND tipsWhileOpen;
bool menuSeen;
bool tipShownWhileOpen;

// Runs inside the menu's own loop: a tip asked to show there must stay hidden.
void CALLBACK ShowTipWhileTheMenuIsOpen(HWND, UINT, UINT_PTR, DWORD) {
    if (menuSeen || !FindWindowW(L"#32768", nullptr))
        return;
    menuSeen = true;
    SendMessageW(tipsWhileOpen, TTM_POPUP, 0, 0);
    tipShownWhileOpen = IsWindowVisible(tipsWhileOpen) != FALSE;
    EndMenu();
}

TEST_F(WindowAsDrawn, ColoursTipIsPutAwayWhileTheMenuIsOpen) {
    OpenTableOf(1);
    HWND tips = reinterpret_cast<HWND>(SendMessageW(Dialog().Toolbar(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    tipsWhileOpen = tips;
    menuSeen = false;
    tipShownWhileOpen = true;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, ShowTipWhileTheMenuIsOpen);
    ShowWindow(Window(), SW_SHOWNORMAL);
    RECT button;
    SendMessageW(Dialog().Toolbar(), TB_GETRECT, ID_COLORS, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(Dialog().Toolbar(), HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    PumpPending();
    SendMessageW(tips, TTM_POPUP, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tips) != FALSE; })) << "the tip does not show at all";
    NMTOOLBARW notify{};
    notify.hdr.hwndFrom = Dialog().Toolbar();
    notify.hdr.idFrom = 0xE800;
    notify.hdr.code = TBN_DROPDOWN;
    notify.iItem = ID_COLORS;
    SendMessageW(Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    KillTimer(nullptr, timer);
    ShowWindow(Window(), SW_HIDE);
    EXPECT_TRUE(menuSeen);
    EXPECT_FALSE(tipShownWhileOpen);
}


// How many pixels of `row` in the key list as drawn on `canvas` have the system colour `colour`.
int KeyListPixelsOf(const Canvas& canvas, HWND list, int row, int colour) {
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += canvas.Pixel(x, y) == GetSysColor(colour);
    return count;
}

TEST_F(WindowAsDrawn, KeyListDrawsEachRowsKeyInTheColoursOfItsSelection) {
    OpenTable({u"WWWW", u"", u"WWWW"}, {u"0", u"1", u"2"});
    SelectRow(2);
    HWND list = Dialog().KeyList().Handle();
    TEXTMETRICW metrics{};
    {
        WindowDc dc(list);
        SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc.Get(), &metrics);
    }
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), metrics.tmHeight) << "a row is as tall as the font";
    RECT client{};
    GetClientRect(list, &client);
    Canvas drawn(client.right, client.bottom);
    // A colour the list never uses, so that only what the list draws is counted.
    UniqueGdi<HBRUSH> unused(CreateSolidBrush(RGB(1, 2, 3)));
    FillRect(drawn.Dc(), &client, unused.get());
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_GT(KeyListPixelsOf(drawn, list, 0, COLOR_WINDOWTEXT), 0) << "row 0 shows its key";
    EXPECT_GT(KeyListPixelsOf(drawn, list, 0, COLOR_WINDOW), 0);
    EXPECT_EQ(KeyListPixelsOf(drawn, list, 0, COLOR_HIGHLIGHT), 0);
    EXPECT_GT(KeyListPixelsOf(drawn, list, 1, COLOR_WINDOW), 0);
    EXPECT_EQ(KeyListPixelsOf(drawn, list, 1, COLOR_WINDOWTEXT), 0) << "row 1's key is empty";
    EXPECT_GT(KeyListPixelsOf(drawn, list, 2, COLOR_HIGHLIGHTTEXT), 0) << "the selected row 2 shows its key";
    EXPECT_GT(KeyListPixelsOf(drawn, list, 2, COLOR_HIGHLIGHT), 0);
    EXPECT_EQ(KeyListPixelsOf(drawn, list, 2, COLOR_WINDOWTEXT), 0);
}

}  // namespace
