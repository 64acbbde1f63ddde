#include "Module.h"

#include "ClassFactory.h"
#include "ComBoundary.h"
#include "DunmoreExt.h"
#include "Dunmore_h.h"
#include "ServedClasses.h"
#include "SpriteThumbnail.h"
#include "Win32Error_win.h"

namespace {

HINSTANCE g_instance = nullptr;
LONG g_liveObjects = 0;
LONG g_serverLocks = 0;

constexpr ServedClass kServedClasses[] = {
    {&CLSID_DunmoreExt, DunmoreExt::Create, L"Tessaly extension"},
    {&CLSID_DunmoreThumbnail, SpriteThumbnail::Create, L"Dunmore sprite thumbnails"},
};

}  // namespace

std::span<const ServedClass> ServedClasses() {
    return kServedClasses;
}

void ModuleObjectCreated() {
    InterlockedIncrement(&g_liveObjects);
}

void ModuleObjectDestroyed() {
    InterlockedDecrement(&g_liveObjects);
}

void ModuleLock() {
    InterlockedIncrement(&g_serverLocks);
}

void ModuleUnlock() {
    InterlockedDecrement(&g_serverLocks);
}

HINSTANCE ModuleInstance() {
    return g_instance;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT LoadModuleTypeLib(ITypeLib** typeLib) {
    *typeLib = nullptr;
    const std::wstring path = ModulePath();
    if (path.empty())
        return LastErrorResult();
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLib);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    const bool idle = InterlockedCompareExchange(&g_liveObjects, 0, 0) == 0 &&
                      InterlockedCompareExchange(&g_serverLocks, 0, 0) == 0;
    return idle ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const ServedClass& served : kServedClasses) {
        if (!IsEqualCLSID(clsid, *served.clsid))
            continue;
        return AtComBoundary([&] {
            ClassFactory* factory = new ClassFactory(served.create);
            const HRESULT result = factory->QueryInterface(iid, out);
            factory->Release();
            return result;
        });
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}
