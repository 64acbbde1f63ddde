#pragma once

#include "Module.h"

#include <windows.h>
#include <unknwn.h>

// One interface of an object: its identifier and how to reach it from the object.
template <typename Object>
struct InterfaceEntry {
    const IID* iid;
    IUnknown* (*cast)(Object* object);
};

template <typename Interface, typename Object>
IUnknown* CastTo(Object* object) {
    return static_cast<Interface*>(object);
}

// Reference counting and QueryInterface for a COM class `Derived` that implements
// `Interfaces`. Derived supplies `kInterfaces`, its interface map: a table ending with a null
// entry, whose first entry also answers IUnknown. Objects start with one reference, held by
// their creator, and count as live objects of the module from construction to destruction.
template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        const InterfaceEntry<Derived>* table = Derived::kInterfaces;
        for (const InterfaceEntry<Derived>* entry = table; entry->iid; ++entry) {
            if (IsEqualIID(iid, *entry->iid) || (entry == table && IsEqualIID(iid, IID_IUnknown))) {
                IUnknown* found = entry->cast(static_cast<Derived*>(this));
                found->AddRef();
                *out = found;
                return S_OK;
            }
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }

    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

protected:
    ComObject() { ModuleObjectCreated(); }
    virtual ~ComObject() { ModuleObjectDestroyed(); }

private:
    LONG references_ = 1;
};
