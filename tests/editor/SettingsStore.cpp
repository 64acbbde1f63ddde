#include "SettingsStore.h"

#include "Settings.h"

#include <gtest/gtest.h>

void DeleteSettingsKey() { RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKeyPath); }

SettingsBackup::SettingsBackup() : RegistryKeyBackup(HKEY_CURRENT_USER, SettingsKeyPath) {}

void StoreRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void StoreNumber(const wchar_t* name, DWORD value) { StoreRaw(name, REG_DWORD, &value, sizeof value); }

std::optional<DWORD> StoredNumber(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, SettingsKeyPath, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> StoredText(const wchar_t* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, SettingsKeyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &type, text, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(text);
}
