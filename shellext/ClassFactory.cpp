#include "ClassFactory.h"

#include "ComBoundary.h"

const InterfaceEntry<ClassFactory> ClassFactory::kInterfaces[] = {
    {&IID_IClassFactory, CastTo<IClassFactory, ClassFactory>},
    {nullptr, nullptr},
};

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return AtComBoundary([&] { return create_(iid, out); });
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    if (lock)
        ModuleLock();
    else
        ModuleUnlock();
    return S_OK;
}
