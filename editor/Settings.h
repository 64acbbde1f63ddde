#pragma once

#include <string>
#include <vector>

// Strindle's persistent settings, under HKEY_CURRENT_USER\Software\Zuq\TblProg.
struct StrindleSettings {
    bool AdvancedMode = false;
    bool ParseOnLoad = true;
    bool AutosaveWindowPos = false;  // stored as "Autoload Window Position"
    bool AutosaveLastPath = false;
    std::wstring DefaultDirectory = L"C:\\";
    int WindowX = 100;
    int WindowY = 100;
    int WindowWidth = 500;
    int WindowHeight = 400;
    // Most recent first, stored as "Recent File 1" and on.
    std::vector<std::wstring> RecentFiles;
    // The game preview window: open at the last close, and its rectangle (no width: never placed).
    bool PreviewOpen = false;
    int PreviewX = 0;
    int PreviewY = 0;
    int PreviewWidth = 0;
    int PreviewHeight = 0;
    // The key list's width as the splitter left it; 0: a third of the window.
    int KeyListWidth = 0;

    // The language a D2R string file shows and edits, and the language of a D2R file opened as
    // the reference: "enUS" and the like.
    std::wstring Language = L"enUS";
    std::wstring ReferenceLanguage = L"enUS";

    // Reads every value; a missing key or value, or one of another type, gives the default.
    void Load();
    // The four switches, written when the main window closes.
    void StoreSwitches() const;
    void StoreWindowRect() const;
    void StoreDefaultDirectory() const;
    void StoreRecentFiles() const;
    void StorePreview() const;
    void StoreKeyListWidth() const;
    void StoreLanguages() const;
};

// The settings key's path below HKEY_CURRENT_USER.
extern const wchar_t* const SettingsKeyPath;
