#pragma once

// Strindle's stored settings as the tests arrange and read them, shared by the in-process
// tests and the end-to-end tests (which run the real program in the same Wine prefix).

#include "RegistryKeyBackup_win.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Keeps HKCU\Software\Zuq\TblProg as it was: removed for the test (a first run), put back after.
class SettingsBackup : RegistryKeyBackup {
public:
    SettingsBackup();
};

void DeleteSettingsKey();
std::optional<DWORD> StoredNumber(const wchar_t* name);
std::optional<std::wstring> StoredText(const wchar_t* name);
void StoreNumber(const wchar_t* name, DWORD value);
void StoreRaw(const wchar_t* name, DWORD type, const void* data, DWORD size);
