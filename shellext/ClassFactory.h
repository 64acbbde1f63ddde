#pragma once

#include "ComObject.h"

// Makes DunmoreExt objects; LockServer keeps the library loaded between creations.
class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    ClassFactory() = default;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    using Base = ComObject<ClassFactory, IClassFactory>;
    friend Base;

    ~ClassFactory() override = default;

    static const InterfaceEntry<ClassFactory> kInterfaces[];
};
