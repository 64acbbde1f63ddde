#include "Settings.h"

#include "RecentFiles.h"
#include "SettingsKey_win.h"

const wchar_t* const SettingsKeyPath = L"Software\\Zuq\\TblProg";

namespace {

std::wstring RecentFileValueName(size_t index) { return L"Recent File " + std::to_wstring(index + 1); }

void OpenSettingsKey(SettingsKey& key, bool forWriting) {
    key.AppendPath(L"Zuq\\TblProg");
    if (forWriting)
        key.OpenForWriting();
    else
        key.OpenForReading();
}

}  // namespace

void StrindleSettings::Load() {
    SettingsKey key;
    OpenSettingsKey(key, false);
    const StrindleSettings defaults;
    AdvancedMode = key.ReadFlag(L"Advanced Mode", defaults.AdvancedMode);
    ParseOnLoad = key.ReadFlag(L"Parse On Load", defaults.ParseOnLoad);
    AutosaveLastPath = key.ReadFlag(L"Autosave Last Used Path", defaults.AutosaveLastPath);
    DefaultDirectory = key.ReadText(L"Default Directory", defaults.DefaultDirectory);
    AutosaveWindowPos = key.ReadFlag(L"Autoload Window Position", defaults.AutosaveWindowPos);
    WindowX = static_cast<int>(key.ReadNumber(L"Window XPos", static_cast<DWORD>(defaults.WindowX)));
    WindowY = static_cast<int>(key.ReadNumber(L"Window YPos", static_cast<DWORD>(defaults.WindowY)));
    WindowWidth = static_cast<int>(key.ReadNumber(L"Window Width", static_cast<DWORD>(defaults.WindowWidth)));
    WindowHeight = static_cast<int>(key.ReadNumber(L"Window Height", static_cast<DWORD>(defaults.WindowHeight)));
    PreviewOpen = key.ReadFlag(L"Preview Open", defaults.PreviewOpen);
    PreviewX = static_cast<int>(key.ReadNumber(L"Preview XPos", 0));
    PreviewY = static_cast<int>(key.ReadNumber(L"Preview YPos", 0));
    PreviewWidth = static_cast<int>(key.ReadNumber(L"Preview Width", 0));
    PreviewHeight = static_cast<int>(key.ReadNumber(L"Preview Height", 0));
    KeyListWidth = static_cast<int>(key.ReadNumber(L"Key List Width", 0));
    Language = key.ReadText(L"Language", defaults.Language);
    ReferenceLanguage = key.ReadText(L"Reference Language", defaults.ReferenceLanguage);
    RecentFiles.clear();
    for (size_t index = 0; index < RecentFileLimit; ++index) {
        std::wstring path = key.ReadText(RecentFileValueName(index).c_str(), L"");
        if (!path.empty())
            RecentFiles.push_back(path);
    }
}

void StrindleSettings::StoreSwitches() const {
    SettingsKey key;
    OpenSettingsKey(key, true);
    key.WriteFlag(L"Advanced Mode", AdvancedMode);
    key.WriteFlag(L"Parse On Load", ParseOnLoad);
    key.WriteFlag(L"Autoload Window Position", AutosaveWindowPos);
    key.WriteFlag(L"Autosave Last Used Path", AutosaveLastPath);
}

void StrindleSettings::StoreWindowRect() const {
    SettingsKey key;
    OpenSettingsKey(key, true);
    key.WriteNumber(L"Window XPos", static_cast<DWORD>(WindowX));
    key.WriteNumber(L"Window YPos", static_cast<DWORD>(WindowY));
    key.WriteNumber(L"Window Width", static_cast<DWORD>(WindowWidth));
    key.WriteNumber(L"Window Height", static_cast<DWORD>(WindowHeight));
}

void StrindleSettings::StoreDefaultDirectory() const {
    SettingsKey key;
    OpenSettingsKey(key, true);
    key.WriteText(L"Default Directory", DefaultDirectory);
}

// Slots beyond the list are written empty, so that a shorter list leaves no old entry behind.
void StrindleSettings::StoreRecentFiles() const {
    SettingsKey key;
    OpenSettingsKey(key, true);
    for (size_t index = 0; index < RecentFileLimit; ++index)
        key.WriteText(RecentFileValueName(index).c_str(), index < RecentFiles.size() ? RecentFiles[index] : L"");
}

void StrindleSettings::StorePreview() const {
    SettingsKey key;
    OpenSettingsKey(key, true);
    key.WriteFlag(L"Preview Open", PreviewOpen);
    key.WriteNumber(L"Preview XPos", static_cast<DWORD>(PreviewX));
    key.WriteNumber(L"Preview YPos", static_cast<DWORD>(PreviewY));
    key.WriteNumber(L"Preview Width", static_cast<DWORD>(PreviewWidth));
    key.WriteNumber(L"Preview Height", static_cast<DWORD>(PreviewHeight));
}

void StrindleSettings::StoreKeyListWidth() const {
    SettingsKey key;
    OpenSettingsKey(key, true);
    key.WriteNumber(L"Key List Width", static_cast<DWORD>(KeyListWidth));
}

void StrindleSettings::StoreLanguages() const {
    SettingsKey key;
    OpenSettingsKey(key, true);
    key.WriteText(L"Language", Language);
    key.WriteText(L"Reference Language", ReferenceLanguage);
}
