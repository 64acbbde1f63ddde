#include "UserPrompts.h"

#include "FolderDialog.h"

#include <commdlg.h>

#include <vector>

int Win32Prompts::Message(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

bool Win32Prompts::ChooseFile(HWND owner, const FileDialogRequest& request, ChosenFile& chosen) {
    std::wstring filter = request.Filter;
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
    request.InitialFileName.copy(path.data(), path.size() - 1);
    std::vector<wchar_t> title(MAX_PATH, L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
    ofn.lpstrInitialDir = request.InitialFolder.empty() ? nullptr : request.InitialFolder.c_str();
    ofn.lpstrTitle = request.Title.empty() ? nullptr : request.Title.c_str();
    ofn.lpstrDefExt = request.DefaultExtension.empty() ? nullptr : request.DefaultExtension.c_str();
    ofn.Flags = request.Flags | OFN_EXPLORER;
    BOOL chose = request.Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chose)
        return false;
    chosen.Path = path.data();
    chosen.FileName = title.data();
    return true;
}

bool Win32Prompts::ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& initialFolder,
                                UINT browseFlags, std::wstring& folder) {
    CFolderDialog dialog(title, initialFolder, owner, browseFlags);
    if (dialog.DoModal() != IDOK)
        return false;
    folder = dialog.FolderPath();
    return true;
}
