#include "SettingsKey_win.h"

#include <vector>

void SettingsKey::AppendPath(const std::wstring& text) {
    if (path_.size() + text.size() < PathCapacity)
        path_ += text;
}

bool SettingsKey::OpenForReading() {
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

bool SettingsKey::OpenForWriting() {
    Close();
    HKEY key = nullptr;
    if (RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

void SettingsKey::Close() {
    if (key_) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

DWORD SettingsKey::ReadNumber(const wchar_t* name, DWORD defaultValue) const {
    if (!key_)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return value;
}

bool SettingsKey::ReadFlag(const wchar_t* name, bool defaultValue) const {
    return ReadNumber(name, defaultValue ? 1 : 0) != 0;
}

std::wstring SettingsKey::ReadText(const wchar_t* name, const std::wstring& defaultValue) const {
    if (!key_)
        return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD readSize = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &readSize) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return defaultValue;
    size_t characters = readSize / sizeof(wchar_t);
    std::wstring text(data.data(), characters);
    return text.substr(0, text.find(L'\0'));
}

void SettingsKey::WriteNumber(const wchar_t* name, DWORD value) const {
    if (key_)
        RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SettingsKey::WriteFlag(const wchar_t* name, bool value) const { WriteNumber(name, value ? 1 : 0); }

void SettingsKey::WriteText(const wchar_t* name, const std::wstring& text) const {
    // The terminating NUL is stored too, as readers of REG_SZ values expect.
    if (key_)
        RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}
