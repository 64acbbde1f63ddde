#include "Settings.h"

#include "SettingsKey_win.h"

const wchar_t* const SettingsKeyPath = L"Software\\Zuq\\TblProg";

namespace {

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
