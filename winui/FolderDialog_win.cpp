#include "FolderDialog.h"

CFolderDialog::CFolderDialog(const std::wstring& title, const std::wstring& initialFolder, HWND owner, UINT flags)
    : title_(title), owner_(owner) {
    initialFolder.copy(initialFolder_, MAX_PATH - 1);
    browseInfo_.hwndOwner = owner;
    browseInfo_.pidlRoot = nullptr;  // the desktop
    browseInfo_.pszDisplayName = displayName_;
    browseInfo_.lpszTitle = title_.c_str();
    browseInfo_.ulFlags = flags;
    browseInfo_.lpfn = BrowseCallback;
    browseInfo_.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CFolderDialog::DoModal() {
    bool disableOwner = owner_ && IsWindowEnabled(owner_);
    if (disableOwner)
        EnableWindow(owner_, FALSE);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browseInfo_);
    if (disableOwner) {
        EnableWindow(owner_, TRUE);
        SetActiveWindow(owner_);
    }
    if (!chosen)
        return IDCANCEL;
    INT_PTR result = SHGetPathFromIDListW(chosen, path_) ? IDOK : IDCANCEL;
    IMalloc* shellAllocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shellAllocator))) {
        shellAllocator->Free(chosen);
        shellAllocator->Release();
    }
    return result;
}

int CALLBACK CFolderDialog::BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data) {
    auto* dialog = reinterpret_cast<CFolderDialog*>(data);
    switch (message) {
    case BFFM_INITIALIZED:
        if (dialog->initialFolder_[0])
            SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(dialog->initialFolder_));
        break;
    case BFFM_SELCHANGED:
        if (dialog->browseInfo_.ulFlags & BIF_STATUSTEXT) {
            wchar_t selected[MAX_PATH] = {};
            if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), selected))
                SendMessageW(window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(selected));
        }
        break;
    case BFFM_VALIDATEFAILEDW:
        MessageBeep(MB_ICONHAND);
        return 1;  // keep the browser open
    }
    return 0;
}
