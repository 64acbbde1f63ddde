#include "DunmoreExt.h"

#include "ComBoundary.h"
#include "Selection_win.h"
#include "TessalyLaunch_win.h"
#include "TextConversion_win.h"
#include "Win32Error_win.h"

#include <new>

namespace {

constexpr char kMenuText[] = "Open With Tessaly";
constexpr char kHelpText[] = "Opens the file with the Tessaly";

}  // namespace

const InterfaceEntry<DunmoreExt> DunmoreExt::kInterfaces[] = {
    {&IID_IDunmoreExt, CastTo<IDunmoreExt, DunmoreExt>},
    {&IID_IDispatch, CastTo<IDunmoreExt, DunmoreExt>},
    {&IID_IShellExtInit, CastTo<IShellExtInit, DunmoreExt>},
    {&IID_IContextMenu, CastTo<IContextMenu, DunmoreExt>},
    {nullptr, nullptr},
};

HRESULT DunmoreExt::Create(REFIID iid, void** out) {
    DunmoreExt* object = new (std::nothrow) DunmoreExt;
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
}

DunmoreExt::~DunmoreExt() {
    if (typeInfo_)
        typeInfo_->Release();
}

HRESULT DunmoreExt::LoadTypeInfo() {
    if (typeInfo_)
        return S_OK;
    ITypeLib* typeLib = nullptr;
    const HRESULT loaded = LoadModuleTypeLib(&typeLib);
    if (FAILED(loaded))
        return loaded;
    const HRESULT found = typeLib->GetTypeInfoOfGuid(IID_IDunmoreExt, &typeInfo_);
    typeLib->Release();
    return found;
}

STDMETHODIMP DunmoreExt::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP DunmoreExt::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return AtComBoundary([&] {
        const HRESULT loaded = LoadTypeInfo();
        if (FAILED(loaded))
            return loaded;
        typeInfo_->AddRef();
        *info = typeInfo_;
        return S_OK;
    });
}

STDMETHODIMP DunmoreExt::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT nameCount, LCID, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    return AtComBoundary([&] {
        const HRESULT loaded = LoadTypeInfo();
        if (FAILED(loaded))
            return loaded;
        return DispGetIDsOfNames(typeInfo_, names, nameCount, ids);
    });
}

STDMETHODIMP DunmoreExt::Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* badArgument) {
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    return AtComBoundary([&] {
        const HRESULT loaded = LoadTypeInfo();
        if (FAILED(loaded))
            return loaded;
        return DispInvoke(static_cast<IDunmoreExt*>(this), typeInfo_, member, flags, params, result, exception,
                          badArgument);
    });
}

STDMETHODIMP DunmoreExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    return AtComBoundary([&] { return ReadSelectedFiles(data, files_); });
}

STDMETHODIMP DunmoreExt::QueryContextMenu(HMENU menu, UINT position, UINT firstCommand, UINT, UINT flags) {
    if (flags & CMF_DEFAULTONLY)
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
    if (!InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, firstCommand, kMenuText))
        return LastErrorResult();
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);
}

STDMETHODIMP DunmoreExt::GetCommandString(UINT_PTR command, UINT flags, UINT*, CHAR* buffer, UINT bufferSize) {
    if (command != 0 || !(flags & GCS_HELPTEXTA))
        return E_INVALIDARG;
    if (!buffer)
        return E_POINTER;
    return AtComBoundary([&] {
        if (flags & GCS_UNICODE) {
            const std::wstring wide = ToWide(kHelpText, CP_ACP);
            lstrcpynW(reinterpret_cast<wchar_t*>(buffer), wide.c_str(), static_cast<int>(bufferSize));
        } else {
            lstrcpynA(buffer, kHelpText, static_cast<int>(bufferSize));
        }
        return S_OK;
    });
}

STDMETHODIMP DunmoreExt::InvokeCommand(CMINVOKECOMMANDINFO* invocation) {
    if (!invocation)
        return E_INVALIDARG;
    if (!IS_INTRESOURCE(invocation->lpVerb) || LOWORD(reinterpret_cast<UINT_PTR>(invocation->lpVerb)) != 0)
        return E_INVALIDARG;
    return AtComBoundary([&] { return StartTessaly(invocation->hwnd, files_); });
}
