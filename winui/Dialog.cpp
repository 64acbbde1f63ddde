#include "Dialog.h"

#include <windowsx.h>

CDialog::CDialog(UINT templateId, HWND owner) : templateId_(templateId), owner_(owner) {}

CDialog::~CDialog() {
    if (window_) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

bool CDialog::CreateModeless() {
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner_,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

INT_PTR CDialog::DoModal() {
    bool disableOwner = owner_ && IsWindowEnabled(owner_);
    modalEnded_ = false;
    modalResult_ = IDCANCEL;
    if (!CreateModeless())
        return -1;
    if (disableOwner)
        EnableWindow(owner_, FALSE);
    inModalLoop_ = true;
    if (!modalEnded_)
        ShowWindow(window_, SW_SHOWNORMAL);
    MSG message;
    while (!modalEnded_ && window_) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // leave the quit to the outer loop
            break;
        }
        if (got < 0)
            break;
        if (PreTranslateMessage(message) || IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    inModalLoop_ = false;
    if (disableOwner) {
        EnableWindow(owner_, TRUE);
        SetActiveWindow(owner_);
    }
    if (window_)
        DestroyWindow(window_);
    return modalResult_;
}

void CDialog::EndDialog(INT_PTR result) {
    modalResult_ = result;
    modalEnded_ = true;
    if (!inModalLoop_ && window_)
        DestroyWindow(window_);
    else if (window_)
        PostMessageW(window_, WM_NULL, 0, 0);  // wake the modal loop
}

bool CDialog::UpdateData(bool saveAndValidate) {
    DataExchange dx{window_, saveAndValidate};
    DoDataExchange(dx);
    return !dx.Failed;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::RouteCommand(UINT, UINT) { return false; }

bool CDialog::RouteMessage(UINT, WPARAM, LPARAM) { return false; }

bool CDialog::PreTranslateMessage(MSG& message) {
    if (!accelerators_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    return TranslateAcceleratorW(window_, accelerators_, &message) != 0;
}

bool CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (RouteMessage(message, wParam, lParam))
        return true;
    if (message != WM_COMMAND)
        return false;
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    if (RouteCommand(id, code))
        return true;
    if (id == IDOK && code == BN_CLICKED) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL && code == BN_CLICKED) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
        return dialog->OnInitDialog() ? TRUE : FALSE;
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    if (message == WM_NCDESTROY) {
        dialog->window_ = nullptr;
        SetWindowLongPtrW(window, DWLP_USER, 0);
        return FALSE;
    }
    dialog->procedureResult_ = 0;
    if (!dialog->HandleMessage(message, wParam, lParam))
        return FALSE;
    // These few messages take the procedure's return value itself as their result.
    switch (message) {
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return dialog->procedureResult_;
    default:
        return TRUE;
    }
}
