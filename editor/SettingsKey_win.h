#pragma once

#include <windows.h>

#include <string>

// One registry key of the current user, opened for reading or writing. While no key is open
// (it could not be opened), writes are skipped and reads give their defaults: settings
// failures never reach the user.
class SettingsKey {
public:
    SettingsKey() = default;
    ~SettingsKey() { Close(); }
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    static constexpr size_t PathCapacity = 255;

    // Appends to the sub-key path (which starts as "Software\") unless it would grow too long.
    void AppendPath(const std::wstring& text);
    bool OpenForReading();
    // Creates the key when it is missing.
    bool OpenForWriting();
    void Close();
    bool IsClosed() const { return key_ == nullptr; }

    DWORD ReadNumber(const wchar_t* name, DWORD defaultValue) const;
    bool ReadFlag(const wchar_t* name, bool defaultValue) const;
    std::wstring ReadText(const wchar_t* name, const std::wstring& defaultValue) const;

    void WriteNumber(const wchar_t* name, DWORD value) const;
    void WriteFlag(const wchar_t* name, bool value) const;
    void WriteText(const wchar_t* name, const std::wstring& text) const;

    const std::wstring& Path() const { return path_; }

private:
    HKEY root_ = HKEY_CURRENT_USER;
    HKEY key_ = nullptr;
    std::wstring path_ = L"Software\\";
};
