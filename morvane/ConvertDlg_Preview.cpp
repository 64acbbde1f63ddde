// The main window's preview: it follows the list's selection, and the steppers, Play and the
// timer that plays go to it.
#include "ConvertDlg.h"

#include "resource.h"

#include <commctrl.h>

void CConvertDlg::NoteSelectionChange() {
    if (!selectionChangePosted_)
        selectionChangePosted_ = PostMessageW(Handle(), WM_APP_SELECTIONCHANGED, 0, 0) != FALSE;
}

bool CConvertDlg::OnSelectionChanged(WPARAM, LPARAM) {
    selectionChangePosted_ = false;
    // A run lists the folder again when it ends, which clears the preview.
    if (running_)
        return true;
    if (CountSelected() != 1) {
        preview_.Clear();
        return true;
    }
    const int row = static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    const std::u16string name = RowName(row);
    if (name != preview_.ShownName())
        preview_.Show(name, customPalette_ ? *customPalette_ : BuiltInPalette());
    return true;
}

bool CConvertDlg::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID != IDC_PREVIEW)
        return false;
    preview_.Draw(*item);
    return true;
}

bool CConvertDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != CSpritePreview::PlayTimer)
        return false;
    preview_.OnPlayTimer();
    return true;
}
