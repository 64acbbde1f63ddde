#pragma once

#include "Handles.h"

#include <string>
#include <vector>

// The key list: a list box with its own right-click menu (copy, cut, paste, select all),
// whose commands go to its parent. The parent passes on the list's context-menu requests
// (a subclassed list box fills several times slower under Wine).
class CListBoxEx {
public:
    CListBoxEx();  // loads the menu
    CListBoxEx(const CListBoxEx&) = delete;
    CListBoxEx& operator=(const CListBoxEx&) = delete;

    void Attach(HWND list) { list_ = list; }
    HWND Handle() const { return list_; }

    int Count() const;
    int Caret() const;  // the caret row, or -1 without rows
    // Empties the list in one step (deleting rows one by one is slow with many rows).
    void ResetContent();
    // Replaces the rows with `rows`, with redraw off and storage reserved.
    void Fill(const std::vector<std::u16string>& rows);
    void Select(int row, bool selected);
    void SetCaret(int row);
    std::vector<int> SelectedRows() const;
    bool IsSelected(int row) const;
    // The row under a point of the screen, or -1 when the point is on no row.
    int RowAt(POINT screen) const;
    int TopRow() const;
    void SetTopRow(int row);
    std::wstring RowText(int row) const;
    // Single-row changes for the key editing commands (many rows go through Fill).
    void InsertRow(int row, const std::u16string& text);  // -1: after the last row
    void DeleteRow(int row);
    void SelectAll();
    void DeselectAll();

    // The context menu of the list as it would open now (items greyed or enabled).
    HMENU PreparedMenu();
    // Opens the menu at the mouse (`screenPoint` from WM_CONTEXTMENU).
    void ShowContextMenu(LPARAM screenPoint);

private:
    UniqueMenu menu_;
    HWND list_ = nullptr;
};

// The clipboard format of copied entries.
UINT TblClipboardFormat();
