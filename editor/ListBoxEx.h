#pragma once

#include "Handles.h"

#include <functional>
#include <string>
#include <vector>

// The key list: an owner-data list box (it holds a row count, no texts) that draws each row
// with the text its owner gives for it, and has its own right-click menu (copy, cut, paste,
// select all), whose commands go to its parent. The parent passes on the list's draw requests
// and context-menu requests (a subclassed list box is slower under Wine).
class CListBoxEx {
public:
    using RowTextSource = std::function<std::u16string(int row)>;
    using RowMarkSource = std::function<bool(int row)>;

    CListBoxEx();  // loads the menu
    CListBoxEx(const CListBoxEx&) = delete;
    CListBoxEx& operator=(const CListBoxEx&) = delete;

    // Takes the list box of the dialog; its rows are as tall as its font.
    void Attach(HWND list, RowTextSource rowText);
    HWND Handle() const { return list_; }
    // Rows for which `marked` holds are drawn in red: entries with a problem.
    void SetRowMark(RowMarkSource marked) { rowMarked_ = std::move(marked); }
    bool RowMarked(int row) const { return rowMarked_ && rowMarked_(row); }

    int Count() const;
    int Caret() const;  // the caret row, or -1 without rows
    void ResetContent();
    // Shows rows 0 to `rows` - 1, none selected. Nothing is copied: a row's text is asked for
    // when the row is drawn.
    void Fill(size_t rows);
    void Select(int row, bool selected);
    // Selects rows `first` to `last` (inclusive) in one message.
    void SelectRange(int first, int last);
    void SetCaret(int row);
    std::vector<int> SelectedRows() const;
    bool IsSelected(int row) const;
    // The row under a point of the screen, or -1 when the point is on no row.
    int RowAt(POINT screen) const;
    int TopRow() const;
    void SetTopRow(int row);
    // The text the list shows in `row`.
    std::u16string RowText(int row) const;
    // Single-row changes for the key editing commands (many rows go through Fill): a row
    // comes or goes, and the selection of the rows after it moves with them.
    void InsertRow(int row);
    void DeleteRow(int row);
    // Draws a row again after its text changed.
    void RedrawRow(int row);
    // Type-ahead, as in Windows lists: characters typed less than TypeAheadPause apart build
    // one prefix, and the list goes to the first row from the caret on, going round to the
    // top, whose text starts with it in either case. A single character, or the same one
    // typed again, goes on to the next row starting with it; so does a character that
    // continues no key's prefix. -1 when no row starts with what was typed.
    int RowForTyped(wchar_t typed, DWORD messageTime);
    // Makes `row` the anchor that Shift+click and Shift+arrows extend the selection from.
    void SetAnchor(int row);
    void SelectAll();
    void DeselectAll();

    // Draws one row (WM_DRAWITEM) in the colours of a list box of texts.
    void DrawRow(const DRAWITEMSTRUCT& item) const;

    // The context menu of the list as it would open now (items greyed or enabled).
    HMENU PreparedMenu();
    // Opens the menu at the mouse (`screenPoint` from WM_CONTEXTMENU).
    void ShowContextMenu(LPARAM screenPoint);

private:
    // The first row from `from` on, going round, whose text starts with `prefix` (upper case).
    int FirstRowStartingWith(const std::wstring& prefix, int from) const;

    UniqueMenu menu_;
    HWND list_ = nullptr;
    RowTextSource rowText_;
    RowMarkSource rowMarked_;
    std::wstring typed_;  // the type-ahead prefix, in upper case
    DWORD lastTypedTime_ = 0;
};

// The clipboard format of copied entries.
UINT TblClipboardFormat();
