#include "ListBoxEx.h"

#include "WideText_win.h"
#include "resource.h"

#include <windowsx.h>

UINT TblClipboardFormat() {
    static const UINT format = RegisterClipboardFormatW(L"TBL_FORMAT");
    return format;
}

CListBoxEx::CListBoxEx() : menu_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LISTMENU))) {}

int CListBoxEx::Count() const { return static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0)); }

int CListBoxEx::Caret() const {
    if (Count() == 0)
        return -1;
    return static_cast<int>(SendMessageW(list_, LB_GETCARETINDEX, 0, 0));
}

void CListBoxEx::ResetContent() { SendMessageW(list_, LB_RESETCONTENT, 0, 0); }

void CListBoxEx::Fill(const std::vector<std::u16string>& rows) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    size_t characters = 0;
    for (const auto& row : rows)
        characters += row.size() + 1;
    SendMessageW(list_, LB_INITSTORAGE, rows.size(), characters * sizeof(wchar_t));
    for (const auto& row : rows)
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideChars(row)));
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void CListBoxEx::Select(int row, bool selected) { SendMessageW(list_, LB_SETSEL, selected ? TRUE : FALSE, row); }

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

std::wstring CListBoxEx::RowText(int row) const {
    LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, row, 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list_, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void CListBoxEx::InsertRow(int row, const std::u16string& text) {
    SendMessageW(list_, LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(WideChars(text)));
}

void CListBoxEx::DeleteRow(int row) { SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(row), 0); }

// One message selects or deselects every row (-1), without touching the caret.
void CListBoxEx::SelectAll() { SendMessageW(list_, LB_SETSEL, TRUE, -1); }

void CListBoxEx::DeselectAll() { SendMessageW(list_, LB_SETSEL, FALSE, -1); }

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
