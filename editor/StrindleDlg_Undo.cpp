// Undo and Redo of the main window: the Edit menu's and the key list menu's items name the
// step they take back or redo, and the window shows the entry the step changed.
#include "StrindleDlg.h"

#include "WideText_win.h"
#include "resource.h"

#include <algorithm>

namespace {

// "&Undo Delete Key\tCtrl+Z", greyed when there is nothing to take back.
void SetStepItem(HMENU menu, UINT id, const wchar_t* verb, bool can, const std::string& step,
                 const wchar_t* keys) {
    const std::wstring text =
        std::wstring(verb) + (can ? L" " + WideFromUtf8(step) : std::wstring()) + L"\t" + keys;
    ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING | (can ? MF_ENABLED : MF_GRAYED), id, text.c_str());
}

}  // namespace

void CStrindleDlg::OnUndo() { TakeStep(&TblDocument::Undo); }

void CStrindleDlg::OnRedo() { TakeStep(&TblDocument::Redo); }

// A step may add or remove entries: the list is filled again, kept where it was scrolled, with
// the changed entry's row alone selected and its value in the editor.
void CStrindleDlg::TakeStep(bool (TblDocument::*step)(size_t& focus)) {
    size_t focus = 0;
    if (!(Document.*step)(focus))
        return;
    const int topRow = keyList_.TopRow();
    keyList_.Fill(Document.Count());
    if (keyList_.Count() > 0) {
        keyList_.SetTopRow(std::min(topRow, keyList_.Count() - 1));
        SelectAndShow(static_cast<int>(std::min(focus, Document.Count() - 1)));
    }
    ShowModifiedState();
    ShowCaretEntry();
}

void CStrindleDlg::ShowCleanStatus(const wchar_t* text) {
    cleanStatus_ = text;
    SetStatusText(1, cleanStatus_);
}

// The star and "Not Saved" while the table differs from the state last saved, else the clean
// title and status.
void CStrindleDlg::ShowModifiedState() {
    SetStatusText(1, Document.Modified ? L"Not Saved" : cleanStatus_);
    SetWindowTextW(Handle(), WideChars(Document.Title()));
    Document.ModifiedShown = Document.Modified;
}

bool CStrindleDlg::OnInitMenuPopup(WPARAM wParam, LPARAM) {
    const auto menu = reinterpret_cast<HMENU>(wParam);
    if (GetMenuState(menu, ID_EDIT_UNDO, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return false;
    const TblHistory& history = Document.History();
    SetStepItem(menu, ID_EDIT_UNDO, L"&Undo", history.CanUndo(), history.CanUndo() ? history.UndoName() : "",
                L"Ctrl+Z");
    SetStepItem(menu, ID_EDIT_REDO, L"&Redo", history.CanRedo(), history.CanRedo() ? history.RedoName() : "",
                L"Ctrl+Y");
    return true;
}
