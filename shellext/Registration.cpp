// DllRegisterServer and DllUnregisterServer: the shell's approval of the extension, the
// registration script (resource REGISTRY 102) and the type library (resource TYPELIB 1).
#include "ComBoundary.h"
#include "Dunmore_h.h"
#include "Module.h"
#include "RegistrationScript_win.h"
#include "ResourceIds.h"
#include "TextConversion_win.h"
#include "UniqueRegKey.h"
#include "Win32Error_win.h"

#include <olectl.h>

namespace {

constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr wchar_t kApprovedDescription[] = L"Tessaly extension";

std::wstring ClsidText() {
    wchar_t text[39];
    StringFromGUID2(CLSID_DunmoreExt, text, 39);
    return text;
}

HRESULT OpenApprovedKey(UniqueRegKey& key) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, &opened);
    key.reset(opened);
    return HRESULT_FROM_WIN32(status);
}

// The shell loads only approved extensions when its policy says so.
HRESULT ApproveExtension() {
    UniqueRegKey key;
    if (FAILED(OpenApprovedKey(key)))
        return E_ACCESSDENIED;
    const std::wstring clsid = ClsidText();
    if (RegSetValueExW(key.get(), clsid.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kApprovedDescription),
                       sizeof kApprovedDescription) != ERROR_SUCCESS)
        return E_ACCESSDENIED;
    return S_OK;
}

// A missing key or value is no failure: there is nothing to withdraw.
void WithdrawApproval() {
    UniqueRegKey key;
    if (SUCCEEDED(OpenApprovedKey(key)))
        RegDeleteValueW(key.get(), ClsidText().c_str());
}

HRESULT LoadRegistrationScript(std::vector<ScriptRoot>& roots) {
    const HINSTANCE module = ModuleInstance();
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_DUNMORE), L"REGISTRY");
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return LastErrorResult();
    const std::wstring path = ModulePath();
    if (path.empty())
        return LastErrorResult();
    const std::string_view text(static_cast<const char*>(bytes), SizeofResource(module, resource));
    ScriptParseResult parsed =
        ParseRegistrationScript(text, {{"MODULE", ToUtf8(path)}, {"CLSID", ToUtf8(ClsidText())}});
    if (!parsed.ok)
        return E_UNEXPECTED;
    roots = std::move(parsed.roots);
    return S_OK;
}

HRESULT RegisterTypeLibrary() {
    ITypeLib* typeLib = nullptr;
    HRESULT result = LoadModuleTypeLib(&typeLib);
    if (FAILED(result))
        return result;
    std::wstring path = ModulePath();
    result = RegisterTypeLib(typeLib, path.data(), nullptr);
    typeLib->Release();
    return result;
}

HRESULT UnregisterTypeLibrary() {
    ITypeLib* typeLib = nullptr;
    HRESULT result = LoadModuleTypeLib(&typeLib);
    if (FAILED(result))
        return result;
    TLIBATTR* attributes = nullptr;
    result = typeLib->GetLibAttr(&attributes);
    if (SUCCEEDED(result)) {
        result = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                   attributes->lcid, attributes->syskind);
        typeLib->ReleaseTLibAttr(attributes);
    }
    typeLib->Release();
    return result;
}

HRESULT RegisterServer() {
    if (const HRESULT approved = ApproveExtension(); FAILED(approved))
        return approved;
    std::vector<ScriptRoot> script;
    if (const HRESULT loaded = LoadRegistrationScript(script); FAILED(loaded))
        return loaded;
    if (const HRESULT registered = RegisterScript(script); FAILED(registered))
        return registered;
    return RegisterTypeLibrary();
}

HRESULT UnregisterServer() {
    WithdrawApproval();
    std::vector<ScriptRoot> script;
    if (const HRESULT loaded = LoadRegistrationScript(script); FAILED(loaded))
        return loaded;
    if (const HRESULT unregistered = UnregisterScript(script); FAILED(unregistered))
        return unregistered;
    return UnregisterTypeLibrary();
}

}  // namespace

STDAPI DllRegisterServer() {
    return AtComBoundary(RegisterServer);
}

STDAPI DllUnregisterServer() {
    return AtComBoundary(UnregisterServer);
}
