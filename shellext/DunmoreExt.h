#pragma once

#include "ComObject.h"
#include "Dunmore_h.h"

#include <shlobj.h>

#include <string>
#include <vector>

// The context-menu handler of text files: one per context menu the shell builds. It adds
// "Open With Tessaly" and, when that is chosen, starts Tessaly on the selected files.
class DunmoreExt final : public ComObject<DunmoreExt, IDunmoreExt, IShellExtInit, IContextMenu> {
public:
    static HRESULT Create(REFIID iid, void** out);

    // IDispatch, answered from the type library: IDunmoreExt has no members of its own.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT nameCount, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* badArgument) override;

    // IShellExtInit. A second call adds its selection after the first one's.
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT firstCommand, UINT lastCommand,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* invocation) override;
    STDMETHODIMP GetCommandString(UINT_PTR command, UINT flags, UINT* reserved, CHAR* buffer,
                                  UINT bufferSize) override;

private:
    using Base = ComObject<DunmoreExt, IDunmoreExt, IShellExtInit, IContextMenu>;
    friend Base;

    DunmoreExt() = default;
    ~DunmoreExt() override;

    HRESULT LoadTypeInfo();

    static const InterfaceEntry<DunmoreExt> kInterfaces[];

    std::vector<std::wstring> files_;
    ITypeInfo* typeInfo_ = nullptr;  // loaded on first use
};
