#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

// What an open or save file dialog is asked for.
struct FileDialogRequest {
    bool Save = false;
    std::wstring Title;             // empty: the dialog's own ("Open", "Save As")
    std::wstring DefaultExtension;  // "tbl"
    std::wstring InitialFileName;   // "*.tbl"
    std::wstring Filter;            // pairs separated by '|', ending "||"
    std::wstring InitialFolder;     // empty: the dialog's own choice
    DWORD Flags = 0;                // OFN_ flags
};

struct ChosenFile {
    std::wstring Path;      // full path
    std::wstring FileName;  // name and extension
};

// The one way a window asks the user something: message boxes, file and folder dialogs.
// Tests put their own answers in its place.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // MessageBoxW's result (IDOK, IDYES, IDNO...).
    virtual int Message(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) = 0;
    // False when the user cancelled.
    virtual bool ChooseFile(HWND owner, const FileDialogRequest& request, ChosenFile& chosen) = 0;
    // A folder from the shell's folder browser; false when the user cancelled.
    virtual bool ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& initialFolder,
                              UINT browseFlags, std::wstring& folder) = 0;
};

// The real dialogs of the system.
class Win32Prompts final : public UserPrompts {
public:
    int Message(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    bool ChooseFile(HWND owner, const FileDialogRequest& request, ChosenFile& chosen) override;
    bool ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& initialFolder,
                      UINT browseFlags, std::wstring& folder) override;
};
