#include "WorkingDlg.h"

#include "WindowText_win.h"
#include "resource.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

// Centres `window` on its owner, or on the screen when it has none.
void CentreWindow(HWND window) {
    RECT self;
    GetWindowRect(window, &self);
    RECT area;
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner || !GetWindowRect(owner, &area) || IsIconic(owner))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int x = area.left + ((area.right - area.left) - (self.right - self.left)) / 2;
    int y = area.top + ((area.bottom - area.top) - (self.bottom - self.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CWorkingDlg::CWorkingDlg(HWND owner) : CDialog(IDD_WORKING, owner) {}

bool CWorkingDlg::OnInitDialog() {
    CentreWindow(Handle());
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
    return true;
}

void CWorkingDlg::SetRange(int count) {
    // The bar's range travels as a 16-bit value.
    SendDlgItemMessageW(Handle(), IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(count)));
    SendDlgItemMessageW(Handle(), IDC_PROGRESS, PBM_SETSTEP, 1, 0);
}

void CWorkingDlg::SetProcessingText(const std::u16string& text) {
    SetDlgItemTextW(Handle(), IDC_PROCESSING, WideChars(text));
    UpdateWindow(Item(IDC_PROCESSING));
}

void CWorkingDlg::Step() { SendDlgItemMessageW(Handle(), IDC_PROGRESS, PBM_STEPIT, 0, 0); }

bool CWorkingDlg::RouteMessage(UINT message, WPARAM, LPARAM) {
    // The window only exists during a run, which shows the wait cursor throughout.
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        SetDlgMsgResult(Handle(), WM_SETCURSOR, TRUE);
        return true;
    }
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}
