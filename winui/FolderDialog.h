#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// The shell's folder browser as a modal dialog.
class CFolderDialog {
public:
    CFolderDialog(const std::wstring& title, const std::wstring& initialFolder, HWND owner, UINT flags);
    CFolderDialog(const CFolderDialog&) = delete;
    CFolderDialog& operator=(const CFolderDialog&) = delete;

    // IDOK when a file-system folder was chosen, else IDCANCEL.
    INT_PTR DoModal();
    // The chosen folder as the shell returns it.
    std::wstring FolderPath() const { return path_; }

private:
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);

    std::wstring title_;
    wchar_t initialFolder_[MAX_PATH] = {};
    wchar_t displayName_[MAX_PATH] = {};
    wchar_t path_[MAX_PATH] = {};
    HWND owner_;
    BROWSEINFOW browseInfo_{};
};
