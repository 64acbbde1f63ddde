// The main window's toolbar, status bar, tool tips and the Colors drop-down.
#include "StrindleDlg.h"

#include "WideText_win.h"
#include "resource.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr UINT ToolbarId = 0xE800;

// The toolbar resource: version, image width, image height, button count, then the commands.
std::vector<WORD> ToolbarCommands() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_TOOLBAR), MAKEINTRESOURCEW(RT_TOOLBAR_DATA));
    if (!found)
        return {};
    DWORD size = SizeofResource(instance, found);
    auto* data = static_cast<const WORD*>(LockResource(LoadResource(instance, found)));
    if (!data || size < 8 || data[0] != 1)
        return {};
    size_t count = data[3];
    if (count > (size - 8) / sizeof(WORD))
        return {};
    return std::vector<WORD>(data + 4, data + 4 + count);
}

// Buttons greyed while the table is empty.
constexpr UINT EntryCommands[] = {ID_FILE_SAVE,         ID_EDIT_DELETEKEY, ID_EDIT_SEARCH, ID_EDIT_REPEATSEARCH,
                                  ID_COLORS,            ID_EDIT_GOTOINDEX, ID_SHOWITEMTEXT};

struct ColourItem {
    UINT Id;
    COLORREF Colour;
    const wchar_t* Name;
};

constexpr ColourItem ColourItems[] = {
    {32783, RGB(255, 0, 0), L"Red"},          {32784, RGB(0, 255, 0), L"Green"},
    {32785, RGB(0, 0, 255), L"Blue"},         {32786, RGB(255, 255, 0), L"Yellow"},
    {32787, RGB(160, 145, 105), L"Gold"},     {32788, RGB(170, 160, 120), L"Tan"},
    {32789, RGB(150, 90, 250), L"Purple"},    {32790, RGB(255, 255, 255), L"White"},
    {32791, RGB(250, 170, 35), L"Orange"},    {32792, RGB(192, 192, 192), L"Gray"},
    {32793, RGB(128, 128, 128), L"Dark Gray"}, {32794, RGB(0, 128, 0), L"Dark Green"},
    {32795, RGB(0, 0, 0), L"Transparent"},
};

std::wstring TipText(UINT id) {
    wchar_t text[80] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, 80);
    return text;
}

UINT ToolId(const NMHDR& header, UINT flags) {
    if (flags & TTF_IDISHWND)
        return static_cast<UINT>(GetDlgCtrlID(reinterpret_cast<HWND>(header.idFrom)));
    return static_cast<UINT>(header.idFrom);
}

}  // namespace

void CStrindleDlg::CreateToolbar() {
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | CCS_TOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                               0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ToolbarId)),
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);

    std::vector<WORD> commands = ToolbarCommands();
    int images = 0;
    for (WORD command : commands)
        images += command != 0;
    toolbarImages_ = ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, images, 0);
    UniqueGdi<HBITMAP> bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    ImageList_AddMasked(toolbarImages_, bitmap.get(), RGB(192, 192, 192));
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (WORD command : commands) {
        TBBUTTON button{};
        if (command == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (command == ID_COLORS ? BTNS_DROPDOWN : 0));
        }
        buttons.push_back(button);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    for (UINT id : {ID_SHOWITEMTEXT, ID_EDIT_SEARCH, ID_EDIT_REPEATSEARCH, ID_COLORS})
        SendMessageW(toolbar_, TB_SETSTATE, id, TBSTATE_INDETERMINATE);
    ShowWindow(toolbar_, SW_SHOW);
}

// Each paint asks for the states again; a button already in its state is left alone, as a
// change redraws it.
void CStrindleDlg::SetToolbarButtonsEnabled(bool enabled) {
    const LRESULT state = enabled ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE;
    for (UINT id : EntryCommands)
        if (SendMessageW(toolbar_, TB_GETSTATE, id, 0) != state)
            SendMessageW(toolbar_, TB_SETSTATE, id, state);
}

void CStrindleDlg::CreateStatusBar() {
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0,
                                 Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(statusBar_, SB_SETMINHEIGHT, 10, 0);
    SetStatusText(0, L"Ready.");
    ShowZeroIndexAndHash();
    SetStatusText(4, Wide(u"1.11u"));
}

// Parts 1 to 4 are 75, 175, 100 and 50 pixels wide, or wider where the status bar's font needs
// more for the longest text the part shows with a table of `rows` entries; part 0 takes the rest
// (SetStatusParts narrows the others where that is too little for its activity texts).
void CStrindleDlg::FitStatusParts(int rows) {
    auto digits = [](unsigned number, unsigned base) {
        size_t count = 1;
        for (; number >= base; number /= base)
            ++count;
        return count;
    };
    const unsigned last = rows > 0 ? static_cast<unsigned>(rows - 1) : 0;
    const size_t decimalDigits = digits(last, 10);
    const size_t hexDigits = digits(last, 16);
    if (decimalDigits == statusDigits_)
        return;
    statusDigits_ = decimalDigits;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(statusBar_, WM_GETFONT, 0, 0));
    WindowDc dc(statusBar_);
    SelectedObject selected(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    auto extent = [&](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    // The widest digits are found once: the status bar keeps its font, and measuring every
    // digit on each open of a larger table would slow the open down.
    auto widest = [&](const wchar_t* characters) {
        wchar_t found = characters[0];
        int foundWidth = extent(std::wstring(1, found));
        for (const wchar_t* c = characters + 1; *c; ++c)
            if (int width = extent(std::wstring(1, *c)); width > foundWidth) {
                found = *c;
                foundWidth = width;
            }
        return found;
    };
    if (widestDecimalDigit_ == L'\0') {
        widestDecimalDigit_ = widest(L"0123456789");
        widestHexDigit_ = widest(L"0123456789ABCDEF");
    }
    const std::wstring decimal(decimalDigits, widestDecimalDigit_);
    const std::wstring hex(hexDigits, widestHexDigit_);
    const std::vector<std::wstring> longest[] = {
        {L"Not Saved", L"Saved", L"Loaded", L"Save Error"},
        {L"Index: " + decimal + L"(" + hex + L"h)/" + decimal + L"(" + hex + L"h)"},
        {L"Hash: " + decimal + L"/" + hex + L"h"},
        {Wide(u"1.11u")},
    };
    int borders[3] = {};
    SendMessageW(statusBar_, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    // The part's frame and the text's inset on each side.
    const int margin = 2 * (borders[2] + GetSystemMetrics(SM_CXEDGE) + 3);
    const int least[4] = {75, 175, 100, 50};
    for (size_t part = 0; part < 4; ++part) {
        statusPartFitted_[part] = 0;
        for (const std::wstring& text : longest[part])
            statusPartFitted_[part] = std::max(statusPartFitted_[part], extent(text) + margin);
        statusPartWidths_[part] = std::max(least[part], statusPartFitted_[part]);
    }
    statusActivityWidth_ = 0;
    for (const wchar_t* text : {L"Loading....", L"Compiling....", L"Saving...."})
        statusActivityWidth_ = std::max(statusActivityWidth_, extent(text) + margin);
    RECT client;
    GetClientRect(Handle(), &client);
    SetStatusParts(client.right);
}

// Parts 1 to 4 have their usual widths where the window is wide enough; in a narrower window
// they give up what their texts do not need, so that the activity texts of part 0 still fit.
void CStrindleDlg::SetStatusParts(int cx) {
    int widths[4];
    std::copy(std::begin(statusPartWidths_), std::end(statusPartWidths_), widths);
    int shortfall = statusActivityWidth_ - (cx - (widths[0] + widths[1] + widths[2] + widths[3]));
    for (int part = 1; shortfall > 0 && part <= 4; ++part) {
        const int index = part % 4;  // the index and hash parts first, the saved state last
        const int given = std::min(shortfall, widths[index] - statusPartFitted_[index]);
        widths[index] -= given;
        shortfall -= given;
    }
    int edges[5];
    edges[4] = cx;
    for (int part = 3; part >= 0; --part)
        edges[part] = edges[part + 1] - widths[part];
    SendMessageW(statusBar_, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(edges));
}

void CStrindleDlg::ShowZeroIndexAndHash() {
    FitStatusParts(0);
    SetStatusText(2, FormatText(L"Index: %d(%Xh)/%d(%Xh)", 0, 0, 0, 0));
    SetStatusText(3, FormatText(L"Hash: %d/%Xh", 0, 0));
}

bool CStrindleDlg::OnNotify(WPARAM, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case TBN_DROPDOWN: {
        auto* button = reinterpret_cast<NMTOOLBARW*>(lParam);
        if (button->iItem != ID_COLORS)
            return false;
        ShowColoursMenu(*button);
        SetDlgMsgResult(Handle(), WM_NOTIFY, TBDDRET_DEFAULT);
        return true;
    }
    case TTN_GETDISPINFOW:
        ShowToolTip(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
        return true;
    case TTN_GETDISPINFOA:
        ShowToolTip(*reinterpret_cast<NMTTDISPINFOA*>(lParam));
        return true;
    }
    return false;
}

void CStrindleDlg::ShowToolTip(NMTTDISPINFOW& info) const {
    std::wstring tip = TipText(ToolId(info.hdr, info.uFlags));
    info.lpszText = info.szText;
    wcsncpy(info.szText, tip.c_str(), 79);
    info.szText[79] = L'\0';
}

void CStrindleDlg::ShowToolTip(NMTTDISPINFOA& info) const {
    char tip[80] = {};
    LoadStringA(GetModuleHandleW(nullptr), ToolId(info.hdr, info.uFlags), tip, 80);
    info.lpszText = info.szText;
    std::memcpy(info.szText, tip, sizeof tip);
}

void CStrindleDlg::ShowColoursMenu(const NMTOOLBARW& button) {
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_COLORSMENU)));
    HMENU colours = GetSubMenu(menu.get(), 0);
    for (const ColourItem& item : ColourItems)
        ModifyMenuW(colours, item.Id, MF_BYCOMMAND | MF_OWNERDRAW, item.Id, nullptr);
    RECT rect;
    SendMessageW(toolbar_, TB_GETRECT, static_cast<WPARAM>(button.iItem), reinterpret_cast<LPARAM>(&rect));
    MapWindowPoints(toolbar_, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    // The button's tip would stay on top of the first swatch while the menu is open.
    HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar_, TB_GETTOOLTIPS, 0, 0));
    if (tips) {
        SendMessageW(tips, TTM_POP, 0, 0);
        SendMessageW(tips, TTM_ACTIVATE, FALSE, 0);
    }
    TrackPopupMenu(colours, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RIGHTBUTTON, rect.left, rect.bottom, 0,
                   Handle(), nullptr);
    if (tips)
        SendMessageW(tips, TTM_ACTIVATE, TRUE, 0);
}

namespace {

const ColourItem* ColourItemOf(UINT id) {
    for (const ColourItem& item : ColourItems)
        if (item.Id == id)
            return &item;
    return nullptr;
}

// The font menus are drawn in.
UniqueGdi<HFONT> MenuFont() {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return UniqueGdi<HFONT>(CreateFontIndirectW(&metrics.lfMenuFont));
}

}  // namespace

// Each colour is a swatch of four menu heights with a border, so that white shows on a white
// menu, and the colour's name after it.
void CStrindleDlg::MeasureColourItem(MEASUREITEMSTRUCT& item) const {
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    const ColourItem* colour = ColourItemOf(item.itemID);
    SIZE name{};
    if (colour) {
        WindowDc dc(Handle());
        UniqueGdi<HFONT> font = MenuFont();
        SelectedObject selected(dc.Get(), font.get());
        GetTextExtentPoint32W(dc.Get(), colour->Name, static_cast<int>(wcslen(colour->Name)), &name);
    }
    item.itemWidth = static_cast<UINT>(4 * menuHeight + name.cx + 6);
    item.itemHeight = static_cast<UINT>(menuHeight);
}

bool CStrindleDlg::DrawColourItem(const DRAWITEMSTRUCT& item) const {
    const ColourItem* colour = ColourItemOf(item.itemID);
    if (!colour)
        return false;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    RECT rect = item.rcItem;
    FillRect(item.hDC, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
    const int checkHeight = GetSystemMetrics(SM_CYMENUCHECK);
    if (item.itemState & ODS_CHECKED) {
        RECT check{rect.left, rect.top + (rect.bottom - rect.top - checkHeight) / 2, rect.left + checkWidth, 0};
        check.bottom = check.top + checkHeight;
        DrawFrameControl(item.hDC, &check, DFC_MENU, DFCS_MENUCHECK);
    }
    const int swatchRight = rect.left + 4 * GetSystemMetrics(SM_CYMENU) - 6;
    RECT swatch{rect.left + 6 + checkWidth, rect.top + 4, swatchRight, rect.bottom - 4};
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(colour->Colour));
    FillRect(item.hDC, &swatch, brush.get());
    FrameRect(item.hDC, &swatch, GetSysColorBrush(COLOR_MENUTEXT));
    RECT name{swatchRight + 6, rect.top, rect.right, rect.bottom};
    UniqueGdi<HFONT> font = MenuFont();
    SelectedObject chosen(item.hDC, font.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextW(item.hDC, colour->Name, -1, &name, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return true;
}

bool CStrindleDlg::OnMeasureItem(WPARAM, LPARAM lParam) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU || item->itemID < ID_COLOR_FIRST || item->itemID > ID_COLOR_LAST)
        return false;
    MeasureColourItem(*item);
    return true;
}

bool CStrindleDlg::OnDrawItem(WPARAM, LPARAM lParam) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (item->CtlType == ODT_MENU)
        return DrawColourItem(*item);
    if (item->CtlID == IDC_KEYLIST) {
        keyList_.DrawRow(*item);
        return true;
    }
    if (item->CtlID == IDC_UP) {
        upButton_.Draw(*item);
        return true;
    }
    if (item->CtlID == IDC_DOWN) {
        downButton_.Draw(*item);
        return true;
    }
    return false;
}
