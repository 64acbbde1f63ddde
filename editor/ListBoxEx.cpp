#include "ListBoxEx.h"

#include "WideText_win.h"
#include "resource.h"

#include <windowsx.h>

#include <algorithm>

namespace {

// The text of a marked row: a dark red that reads on white.
constexpr COLORREF MarkedRowColour = RGB(200, 0, 0);

wchar_t UpperCase(wchar_t letter) {
    // CharUpperW takes a single character in the low word of its pointer argument.
    LPWSTR upper = CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(letter)));
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(upper));
}

}  // namespace

UINT TblClipboardFormat() {
    static const UINT format = RegisterClipboardFormatW(L"TBL_FORMAT");
    return format;
}

CListBoxEx::CListBoxEx() : menu_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LISTMENU))) {}

// The dialog font is set after the list asked its owner to measure a row (before the dialog
// was initialised), so the height is set here: the font's height, as a list of texts has it.
void CListBoxEx::Attach(HWND list, RowTextSource rowText) {
    list_ = list;
    rowText_ = std::move(rowText);
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0));
    WindowDc dc(list_);
    SelectedObject chosen(dc.Get(), font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc.Get(), &metrics))
        SendMessageW(list_, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
}

int CListBoxEx::Count() const { return static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)); }

int CListBoxEx::Caret() const {
    if (Count() == 0)
        return -1;
    return static_cast<int>(SendMessageW(list_, LB_GETCARETINDEX, 0, 0));
}

void CListBoxEx::ResetContent() { SendMessageW(list_, LB_RESETCONTENT, 0, 0); }

void CListBoxEx::Fill(size_t rows) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    if (Count() > 0)  // an Open has emptied the list already
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    SendMessageW(list_, LB_SETCOUNT, rows, 0);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void CListBoxEx::Select(int row, bool selected) { SendMessageW(list_, LB_SETSEL, selected ? TRUE : FALSE, row); }

void CListBoxEx::SelectRange(int first, int last) { SendMessageW(list_, LB_SELITEMRANGEEX, first, last); }

void CListBoxEx::SetCaret(int row) { SendMessageW(list_, LB_SETCARETINDEX, row, FALSE); }

std::vector<int> CListBoxEx::SelectedRows() const {
    int count = static_cast<int>(SendMessageW(list_, LB_GETSELCOUNT, 0, 0));
    std::vector<int> rows(static_cast<size_t>(count > 0 ? count : 0));
    if (count > 0)
        SendMessageW(list_, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(rows.data()));
    return rows;
}

bool CListBoxEx::IsSelected(int row) const { return SendMessageW(list_, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0; }

int CListBoxEx::RowAt(POINT screen) const {
    POINT client = screen;
    ScreenToClient(list_, &client);
    LRESULT hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    // The high word is set when the point lies outside the rows (below the last one).
    if (HIWORD(hit) != 0 || LOWORD(hit) >= Count())
        return -1;
    return LOWORD(hit);
}

int CListBoxEx::TopRow() const { return static_cast<int>(SendMessageW(list_, LB_GETTOPINDEX, 0, 0)); }

void CListBoxEx::SetTopRow(int row) { SendMessageW(list_, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0); }

std::u16string CListBoxEx::RowText(int row) const {
    if (row < 0 || row >= Count())
        return {};
    return rowText_(row);
}

// An owner-data list takes these two messages as one row more or less at that place.
void CListBoxEx::InsertRow(int row) { SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(row), 0); }

void CListBoxEx::DeleteRow(int row) { SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(row), 0); }

void CListBoxEx::RedrawRow(int row) {
    RECT rect;
    if (SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
        InvalidateRect(list_, &rect, TRUE);
}

int CListBoxEx::RowForTyped(wchar_t typed, DWORD messageTime) {
    constexpr DWORD TypeAheadPause = 1000;  // milliseconds, as Explorer's lists wait
    if (messageTime - lastTypedTime_ > TypeAheadPause)
        typed_.clear();
    lastTypedTime_ = messageTime;
    typed_ += UpperCase(typed);
    const int caret = std::max(Caret(), 0);
    if (typed_.find_first_not_of(typed_.front()) == std::wstring::npos)
        return FirstRowStartingWith(typed_.substr(0, 1), caret + 1);
    if (const int row = FirstRowStartingWith(typed_, caret); row >= 0)
        return row;
    // A character that continues no key starts a new prefix.
    typed_ = typed_.back();
    return FirstRowStartingWith(typed_, caret + 1);
}

int CListBoxEx::FirstRowStartingWith(const std::wstring& prefix, int from) const {
    const int rows = Count();
    for (int step = 0; step < rows; ++step) {
        const int row = (from + step) % rows;
        const std::u16string text = rowText_(row);
        if (text.size() < prefix.size())
            continue;
        size_t i = 0;
        while (i < prefix.size() && UpperCase(static_cast<wchar_t>(text[i])) == prefix[i])
            ++i;
        if (i == prefix.size())
            return row;
    }
    return -1;
}

void CListBoxEx::SetAnchor(int row) { SendMessageW(list_, LB_SETANCHORINDEX, static_cast<WPARAM>(row), 0); }

// One message selects or deselects every row (-1), without touching the caret.
void CListBoxEx::SelectAll() { SendMessageW(list_, LB_SETSEL, TRUE, -1); }

void CListBoxEx::DeselectAll() { SendMessageW(list_, LB_SETSEL, FALSE, -1); }

// As a list box draws its texts: one pixel in from the left, in the highlight colours when
// selected, grey when the list is disabled, and the focus rectangle on the caret row.
void CListBoxEx::DrawRow(const DRAWITEMSTRUCT& item) const {
    RECT rect = item.rcItem;
    // The focus rectangle is drawn inverted, so a change of focus alone draws it again.
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(item.hDC, &rect);
        return;
    }
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    if (item.itemID == static_cast<UINT>(-1) || static_cast<int>(item.itemID) >= Count()) {
        if (focused)  // an empty list with the focus shows where its first row would be
            DrawFocusRect(item.hDC, &rect);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    int textColour = selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
    if (!selected && !IsWindowEnabled(list_))
        textColour = COLOR_GRAYTEXT;
    const COLORREF oldBack = SetBkColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const COLORREF rowColour =
        !selected && RowMarked(static_cast<int>(item.itemID)) ? MarkedRowColour : GetSysColor(textColour);
    const COLORREF oldText = SetTextColor(item.hDC, rowColour);
    SelectedObject font(item.hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0)));
    const std::u16string text = rowText_(static_cast<int>(item.itemID));
    ExtTextOutW(item.hDC, rect.left + 1, rect.top, ETO_OPAQUE | ETO_CLIPPED, &rect, WideChars(text),
                static_cast<UINT>(text.size()), nullptr);
    if (focused)
        DrawFocusRect(item.hDC, &rect);
    SetTextColor(item.hDC, oldText);
    SetBkColor(item.hDC, oldBack);
}

HMENU CListBoxEx::PreparedMenu() {
    HMENU popup = GetSubMenu(menu_.get(), 0);
    UINT rowsState = Count() > 0 ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(popup, ID_LIST_COPY, MF_BYCOMMAND | rowsState);
    EnableMenuItem(popup, ID_LIST_CUT, MF_BYCOMMAND | rowsState);
    UINT pasteState = IsClipboardFormatAvailable(TblClipboardFormat()) ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(popup, ID_LIST_PASTE, MF_BYCOMMAND | pasteState);
    EnableMenuItem(popup, ID_EDIT_SELECTALL, MF_BYCOMMAND | MF_ENABLED);
    return popup;
}

void CListBoxEx::ShowContextMenu(LPARAM screenPoint) {
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (screenPoint == -1)  // from the keyboard: open at the mouse
        GetCursorPos(&point);
    TrackPopupMenu(PreparedMenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, GetParent(list_), nullptr);
}
