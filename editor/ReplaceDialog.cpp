#include "ReplaceDialog.h"

#include "WideText_win.h"
#include "resource.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int ActionButtons[] = {IDC_REPLACE_FINDNEXT, IDC_REPLACE_ONE, IDC_REPLACE_ALL};

}  // namespace

CReplaceDialog::CReplaceDialog(HWND owner) : CDialog(IDD_REPLACE, owner) {}

void CReplaceDialog::Open() {
    if (!Handle()) {
        if (!CreateModeless())
            return;
        PlaceAtOwnersTopRight();
    }
    ShowWindow(Handle(), SW_SHOW);
    // Through the dialog manager, which also selects the field's text.
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_REPLACE_FIND)), TRUE);
}

// Over the owner's top right corner, where the value editor's right part lies, so that the key
// list and the start of the value stay in sight.
void CReplaceDialog::PlaceAtOwnersTopRight() {
    RECT owner, own;
    GetWindowRect(GetWindow(Handle(), GW_OWNER), &owner);
    GetWindowRect(Handle(), &own);
    constexpr int Margin = 24;
    const int left = std::max(owner.left, owner.right - (own.right - own.left) - Margin);
    SetWindowPos(Handle(), nullptr, left, owner.top + 3 * Margin, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TblReplaceQuery CReplaceDialog::Query() const {
    auto checked = [this](int id) { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED; };
    return {Utf16(WindowText(Item(IDC_REPLACE_FIND))), Utf16(WindowText(Item(IDC_REPLACE_WITH))),
            checked(IDC_REPLACE_INKEYS), checked(IDC_REPLACE_MATCHCASE), checked(IDC_REPLACE_WHOLE)};
}

bool CReplaceDialog::TakeDialogMessage(MSG& message) { return Handle() && IsDialogMessageW(Handle(), &message); }

bool CReplaceDialog::OnInitDialog() {
    CheckRadioButton(Handle(), IDC_REPLACE_INKEYS, IDC_REPLACE_INVALUES, IDC_REPLACE_INVALUES);
    EnableButtons();
    return true;
}

void CReplaceDialog::OnCancel() { ShowWindow(Handle(), SW_HIDE); }

bool CReplaceDialog::RouteCommand(UINT id, UINT code) {
    if (id == IDC_REPLACE_FIND && code == EN_CHANGE) {
        EnableButtons();
        return true;
    }
    if (code != BN_CLICKED || std::ranges::find(ActionButtons, static_cast<int>(id)) == std::end(ActionButtons))
        return false;
    // The owner acts within its command boundary, as for a menu command.
    SendMessageW(GetWindow(Handle(), GW_OWNER), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

void CReplaceDialog::EnableButtons() {
    const BOOL enable = GetWindowTextLengthW(Item(IDC_REPLACE_FIND)) > 0 ? TRUE : FALSE;
    for (int id : ActionButtons)
        EnableWindow(Item(id), enable);
}
