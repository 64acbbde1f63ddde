#include "RegistryKeyBackup_win.h"

#include <utility>

RegistryKeyBackup::RegistryKeyBackup(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
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
    existed_ = RegDeleteTreeW(root_, path_.c_str()) == ERROR_SUCCESS;
}

RegistryKeyBackup::~RegistryKeyBackup() {
    RegDeleteTreeW(root_, path_.c_str());
    if (!existed_)
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const Value& value : values_)
        RegSetValueExW(key, value.Name.c_str(), 0, value.Type, value.Data.data(), static_cast<DWORD>(value.Data.size()));
    RegCloseKey(key);
}
