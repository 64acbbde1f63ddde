#include "SettingsStore.h"

#include "Settings.h"

#include <gtest/gtest.h>

void DeleteSettingsKey() { RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKeyPath); }

SettingsBackup::SettingsBackup() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        existed_ = true;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256];
            DWORD nameLength = 256;
            DWORD type = 0;
            DWORD size = 0;
            if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                break;
            Value value{name, type, std::vector<BYTE>(size)};
            nameLength = 256;
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, value.Data.data(), &size);
            values_.push_back(std::move(value));
        }
        RegCloseKey(key);
    }
    DeleteSettingsKey();
}

SettingsBackup::~SettingsBackup() {
    DeleteSettingsKey();
    if (!existed_)
        return;
    for (const Value& value : values_)
        StoreRaw(value.Name.c_str(), value.Type, value.Data.data(), static_cast<DWORD>(value.Data.size()));
}

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
