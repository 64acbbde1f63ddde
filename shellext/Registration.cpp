// DllRegisterServer and DllUnregisterServer: the shell's approval of the two handlers, the
// registration script (resource REGISTRY 102) and the type library (resource TYPELIB 1).
#include "ComBoundary.h"
#include "Dunmore_h.h"
#include "Module.h"
#include "RegistrationScript_win.h"
#include "ResourceIds.h"
#include "ServedClasses.h"
#include "TextConversion_win.h"
#include "UniqueRegKey.h"
#include "Win32Error_win.h"

#include <olectl.h>

#include <optional>

namespace {

constexpr wchar_t kApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

std::wstring ClsidText(const CLSID& clsid = CLSID_DunmoreExt) {
    wchar_t text[39];
    StringFromGUID2(clsid, text, 39);
    return text;
}

// `view`: 0 for this library's own registry view, else KEY_WOW64_32KEY or KEY_WOW64_64KEY.
HRESULT OpenApprovedKey(UniqueRegKey& key, REGSAM view) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE | view, &opened);
    key.reset(opened);
    return HRESULT_FROM_WIN32(status);
}

// The shell loads only approved extensions when its policy says so.
HRESULT ApproveExtension(REGSAM view) {
    UniqueRegKey key;
    if (FAILED(OpenApprovedKey(key, view)))
        return E_ACCESSDENIED;
    for (const ServedClass& served : ServedClasses()) {
        const std::wstring clsid = ClsidText(*served.clsid);
        const DWORD bytes = static_cast<DWORD>((served.approvedAs.size() + 1) * sizeof(wchar_t));
        if (RegSetValueExW(key.get(), clsid.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(served.approvedAs.data()),
                           bytes) != ERROR_SUCCESS)
            return E_ACCESSDENIED;
    }
    return S_OK;
}

// A missing key or value is no failure: there is nothing to withdraw.
void WithdrawApproval() {
    UniqueRegKey key;
    if (FAILED(OpenApprovedKey(key, 0)))
        return;
    for (const ServedClass& served : ServedClasses())
        RegDeleteValueW(key.get(), ClsidText(*served.clsid).c_str());
}

// The registry view of the other bitness: the 32-bit one from 64-bit code; the 64-bit one
// from 32-bit code running on 64-bit Windows. Nothing on 32-bit Windows, which has one view.
std::optional<REGSAM> OtherRegistryView() {
    if constexpr (sizeof(void*) == 8) {
        return KEY_WOW64_32KEY;
    } else {
        BOOL wow64 = FALSE;
        if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
            return KEY_WOW64_64KEY;
        return std::nullopt;
    }
}

// The 32- and 64-bit servers register the same class, each in its own view of HKCR\CLSID, but
// share the ProgIDs, the context-menu handler keys of text files and the type library's key.
// Those stay while the other view still registers the class with a server other than this
// library (where a system keeps one view only, that is this library). Returns that view.
std::optional<REGSAM> OtherBitnessRegistration() {
    const std::optional<REGSAM> view = OtherRegistryView();
    if (!view)
        return std::nullopt;
    HKEY opened = nullptr;
    const std::wstring serverKey = L"CLSID\\" + ClsidText() + L"\\InprocServer32";
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, KEY_QUERY_VALUE | *view, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const UniqueRegKey key(opened);
    DWORD bytes = 0;
    if (RegGetValueW(key.get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring server(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(key.get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, server.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    server.resize(wcsnlen(server.c_str(), server.size()));
    if (server.empty() || lstrcmpiW(server.c_str(), ModulePath().c_str()) == 0)
        return std::nullopt;
    return view;
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
        ParseRegistrationScript(text, {{"MODULE", ToUtf8(path)},
                                                 {"CLSID", ToUtf8(ClsidText())},
                                                 {"THUMBNAILCLSID", ToUtf8(ClsidText(CLSID_DunmoreThumbnail))}});
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
    if (const HRESULT approved = ApproveExtension(0); FAILED(approved))
        return approved;
    std::vector<ScriptRoot> script;
    if (const HRESULT loaded = LoadRegistrationScript(script); FAILED(loaded))
        return loaded;
    if (const HRESULT registered = RegisterScript(script); FAILED(registered))
        return registered;
    return RegisterTypeLibrary();
}

HRESULT UnregisterServer() {
    const std::optional<REGSAM> otherBitness = OtherBitnessRegistration();
    WithdrawApproval();
    // Where both views share the Approved key, that took the other bitness's approval too.
    if (otherBitness)
        ApproveExtension(*otherBitness);
    std::vector<ScriptRoot> script;
    if (const HRESULT loaded = LoadRegistrationScript(script); FAILED(loaded))
        return loaded;
    if (const HRESULT unregistered = UnregisterScript(script, otherBitness ? SharedKeys::Keep : SharedKeys::Remove);
        FAILED(unregistered))
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
