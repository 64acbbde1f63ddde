#pragma once

#include "Handles.h"

#include <string>
#include <vector>

// The key list: a list box that shows its own right-click menu (copy, cut, paste, select all)
// and sends that menu's commands to its parent.
class CListBoxEx {
public:
    CListBoxEx();  // loads the menu
    ~CListBoxEx();
    CListBoxEx(const CListBoxEx&) = delete;
    CListBoxEx& operator=(const CListBoxEx&) = delete;

    void Attach(HWND list);
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
    std::wstring RowText(int row) const;

    // The context menu of the list as it would open now (items greyed or enabled).
    HMENU PreparedMenu();

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    void ShowContextMenu(LPARAM screenPoint);

    UniqueMenu menu_;
    HWND list_ = nullptr;
};

// The clipboard format of copied entries.
UINT TblClipboardFormat();
