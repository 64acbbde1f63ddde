#include "RegistrationScript_win.h"

#include "TextConversion_win.h"
#include "UniqueRegKey.h"

namespace {

struct HiveName {
    const char* name;
    HKEY hive;
};

const HiveName kHives[] = {
    {"HKCR", HKEY_CLASSES_ROOT},
    {"HKCU", HKEY_CURRENT_USER},
    {"HKLM", HKEY_LOCAL_MACHINE},
};

HKEY HiveOf(const std::string& name) {
    for (const HiveName& hive : kHives)
        if (name == hive.name)
            return hive.hive;
    return nullptr;
}

// Deletes `name` under `parent` with all its subkeys; a key that is not there is no failure.
LSTATUS DeleteKeyTree(HKEY parent, const std::wstring& name) {
    const LSTATUS status = RegDeleteTreeW(parent, name.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::wstring ScriptDefault(const ScriptKey& key) {
    for (const ScriptValue& value : key.values)
        if (value.name.empty())
            return ToWide(value.data, CP_UTF8);
    return {};
}

enum class ClaimHolder { Nobody, Script, Other };

// Who a Claim key's default value names: nobody when it is missing or empty, the script when
// it is the script's text (identifiers compare without regard to case), else another program.
ClaimHolder HolderOf(HKEY parent, const std::wstring& name, const ScriptKey& key) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegGetValueW(parent, name.c_str(), nullptr, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return ClaimHolder::Nobody;
    if (type != REG_SZ)
        return ClaimHolder::Other;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(parent, name.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
        return ClaimHolder::Other;
    text.resize(wcsnlen(text.c_str(), text.size()));
    if (text.empty())
        return ClaimHolder::Nobody;
    return lstrcmpiW(text.c_str(), ScriptDefault(key).c_str()) == 0 ? ClaimHolder::Script : ClaimHolder::Other;
}

// Takes the script's default value out of a Claim key that still holds it, and the key too
// when nothing else is in it; a key that another program took over is left as it is.
LSTATUS RemoveClaim(HKEY parent, const std::wstring& name, const ScriptKey& key) {
    if (HolderOf(parent, name, key) != ClaimHolder::Script)
        return ERROR_SUCCESS;
    HKEY opened = nullptr;
    if (const LSTATUS status = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &opened);
        status != ERROR_SUCCESS)
        return status;
    const UniqueRegKey owned(opened);
    DWORD subkeys = 0;
    DWORD values = 0;
    if (const LSTATUS status = RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                                &values, nullptr, nullptr, nullptr, nullptr);
        status != ERROR_SUCCESS)
        return status;
    if (subkeys == 0 && values <= 1)
        return DeleteKeyTree(parent, name);
    return RegDeleteValueW(opened, nullptr);
}

LSTATUS WriteKey(HKEY parent, const ScriptKey& key) {
    const std::wstring name = ToWide(key.name, CP_UTF8);
    // Another program's handler stays where it is.
    if (key.mark == KeyMark::Claim && HolderOf(parent, name, key) == ClaimHolder::Other)
        return ERROR_SUCCESS;
    if (key.mark == KeyMark::ForceRemove)
        if (const LSTATUS status = DeleteKeyTree(parent, name); status != ERROR_SUCCESS)
            return status;
    HKEY opened = nullptr;
    if (const LSTATUS status = RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_READ | KEY_WRITE, nullptr, &opened, nullptr);
        status != ERROR_SUCCESS)
        return status;
    const UniqueRegKey owned(opened);
    for (const ScriptValue& value : key.values) {
        const std::wstring valueName = ToWide(value.name, CP_UTF8);
        const std::wstring data = ToWide(value.data, CP_UTF8);
        const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
        if (const LSTATUS status = RegSetValueExW(opened, valueName.empty() ? nullptr : valueName.c_str(), 0, REG_SZ,
                                                  reinterpret_cast<const BYTE*>(data.c_str()), bytes);
            status != ERROR_SUCCESS)
            return status;
    }
    for (const ScriptKey& subkey : key.subkeys)
        if (const LSTATUS status = WriteKey(opened, subkey); status != ERROR_SUCCESS)
            return status;
    return ERROR_SUCCESS;
}

LSTATUS RemoveKey(HKEY parent, const ScriptKey& key, SharedKeys shared) {
    if (key.shared && shared == SharedKeys::Keep)
        return ERROR_SUCCESS;
    const std::wstring name = ToWide(key.name, CP_UTF8);
    if (key.mark == KeyMark::Claim)
        return RemoveClaim(parent, name, key);
    if (key.mark != KeyMark::NoRemove)
        return DeleteKeyTree(parent, name);
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &opened);
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return status;
    const UniqueRegKey owned(opened);
    for (const ScriptKey& subkey : key.subkeys)
        if (const LSTATUS subStatus = RemoveKey(opened, subkey, shared); subStatus != ERROR_SUCCESS)
            return subStatus;
    return ERROR_SUCCESS;
}

template <typename KeyAction>
HRESULT ForEachRootKey(const std::vector<ScriptRoot>& roots, KeyAction action) {
    for (const ScriptRoot& root : roots) {
        const HKEY hive = HiveOf(root.name);
        if (!hive)
            return E_INVALIDARG;
        for (const ScriptKey& key : root.keys)
            if (const LSTATUS status = action(hive, key); status != ERROR_SUCCESS)
                return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

}  // namespace

HRESULT RegisterScript(const std::vector<ScriptRoot>& roots) {
    return ForEachRootKey(roots, WriteKey);
}

HRESULT UnregisterScript(const std::vector<ScriptRoot>& roots, SharedKeys shared) {
    return ForEachRootKey(roots, [shared](HKEY parent, const ScriptKey& key) { return RemoveKey(parent, key, shared); });
}
