#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Takes a registry key away for a test and puts its values back when the object goes, so that
// a test starts from a missing key and leaves the key as it found it.
class RegistryKeyBackup {
public:
    RegistryKeyBackup(HKEY root, std::wstring path);
    ~RegistryKeyBackup();
    RegistryKeyBackup(const RegistryKeyBackup&) = delete;
    RegistryKeyBackup& operator=(const RegistryKeyBackup&) = delete;

    // Whether the key was there (and so was taken away).
    bool Existed() const { return existed_; }

private:
    struct Value {
        std::wstring Name;
        DWORD Type;
        std::vector<BYTE> Data;
    };
    HKEY root_;
    std::wstring path_;
    bool existed_ = false;
    std::vector<Value> values_;
};
