#pragma once

#include "ComObject.h"

// Makes a new object of one class and asks it for an interface, as CreateInstance does.
using ObjectCreator = HRESULT (*)(REFIID iid, void** out);

// Makes objects of one class; LockServer keeps the library loaded between creations.
class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(ObjectCreator create) : create_(create) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    using Base = ComObject<ClassFactory, IClassFactory>;
    friend Base;

    ~ClassFactory() override = default;

    static const InterfaceEntry<ClassFactory> kInterfaces[];

    ObjectCreator create_;
};
