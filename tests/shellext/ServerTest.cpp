// Dunmore as a COM server: its exports, class factory, object identity, unload rule, type
// library and resources.
#include "DunmoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

IClassFactory* GetFactory() {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(Dunmore().getClassObject(CLSID_DunmoreExt, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    return factory;
}

TEST(DunmoreServer, ExportsTheFourEntryPointsUnderTheirPlainNames) {
    const DunmoreLibrary& library = Dunmore();
    ASSERT_NE(library.module, nullptr);
    for (const char* name : {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(GetProcAddress(library.module, name), nullptr) << name;
}

TEST(DunmoreServer, HandsOutItsClassFactoryOnlyForItsClass) {
    IClassFactory* factory = GetFactory();
    ASSERT_NE(factory, nullptr);
    factory->Release();

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(Dunmore().getClassObject(IID_IDunmoreExt, IID_IClassFactory, &other), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(Dunmore().getClassObject(CLSID_ShellLink, IID_IClassFactory, &other), CLASS_E_CLASSNOTAVAILABLE);
}

TEST(DunmoreServer, FactoryRefusesAggregation) {
    IClassFactory* factory = GetFactory();
    ASSERT_NE(factory, nullptr);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(factory, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    factory->Release();
}

TEST(DunmoreServer, ObjectAnswersItsInterfacesWithOneIdentity) {
    IContextMenu* menu = CreateContextMenuHandler();
    ASSERT_NE(menu, nullptr);
    IUnknown* identity = nullptr;
    ASSERT_EQ(menu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    IDunmoreExt* dunmore = nullptr;
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(menu->QueryInterface(IID_IDunmoreExt, reinterpret_cast<void**>(&dunmore)), S_OK);
    ASSERT_EQ(menu->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    EXPECT_EQ(static_cast<IDispatch*>(dunmore), dispatch);

    for (const IID* iid : {&IID_IDunmoreExt, &IID_IDispatch, &IID_IShellExtInit, &IID_IContextMenu}) {
        IUnknown* asked = nullptr;
        ASSERT_EQ(menu->QueryInterface(*iid, reinterpret_cast<void**>(&asked)), S_OK) << GuidText(*iid).c_str();
        IUnknown* itsIdentity = nullptr;
        asked->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&itsIdentity));
        EXPECT_EQ(itsIdentity, identity);
        itsIdentity->Release();
        asked->Release();
    }
    void* absent = reinterpret_cast<void*>(1);
    EXPECT_EQ(menu->QueryInterface(IID_IContextMenu2, &absent), E_NOINTERFACE);
    EXPECT_EQ(absent, nullptr);
    EXPECT_EQ(menu->QueryInterface(IID_IClassFactory, &absent), E_NOINTERFACE);

    dispatch->Release();
    dunmore->Release();
    identity->Release();
    EXPECT_EQ(menu->Release(), 0u);
}

TEST(DunmoreServer, CanUnloadOnlyWhenNoObjectOrLockIsOutstanding) {
    const DunmoreLibrary& library = Dunmore();
    ASSERT_EQ(library.canUnloadNow(), S_OK);

    IClassFactory* factory = GetFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(library.canUnloadNow(), S_FALSE);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(library.canUnloadNow(), S_FALSE) << "a server lock keeps the library";

    factory = GetFactory();
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    IUnknown* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    factory->Release();
    EXPECT_EQ(library.canUnloadNow(), S_FALSE) << "a live object keeps the library";
    object->Release();
    EXPECT_EQ(library.canUnloadNow(), S_OK);
}

TEST(DunmoreServer, DispatchDescribesIDunmoreExtWithoutMembers) {
    IContextMenu* menu = CreateContextMenuHandler();
    ASSERT_NE(menu, nullptr);
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(menu->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(dispatch->GetTypeInfo(0, 0x409, &info), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IDunmoreExt));
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
    info->ReleaseTypeAttr(attributes);
    info->Release();

    wchar_t name[] = L"Open";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0x409, &id), DISP_E_UNKNOWNNAME);
    DISPPARAMS none = {};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0x409, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    dispatch->Release();
    menu->Release();
}

std::wstring Documentation(ITypeLib* library, INT index) {
    BSTR text = nullptr;
    library->GetDocumentation(index, nullptr, &text, nullptr, nullptr);
    std::wstring result = text ? text : L"";
    SysFreeString(text);
    return result;
}

TEST(DunmoreServer, TypeLibraryHoldsTheClassAndItsDualInterface) {
    ITypeLib* library = nullptr;
    ASSERT_EQ(LoadTypeLibEx(Dunmore().path.c_str(), REGKIND_NONE, &library), S_OK);
    TLIBATTR* libraryAttributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&libraryAttributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(libraryAttributes->guid, LIBID_DUNMORELib));
    EXPECT_EQ(libraryAttributes->wMajorVerNum, 1);
    EXPECT_EQ(libraryAttributes->wMinorVerNum, 0);
    EXPECT_EQ(libraryAttributes->lcid, 0x409u);
    library->ReleaseTLibAttr(libraryAttributes);
    BSTR libraryName = nullptr;
    library->GetDocumentation(-1, &libraryName, nullptr, nullptr, nullptr);
    EXPECT_STREQ(libraryName, L"DUNMORELib");
    SysFreeString(libraryName);
    EXPECT_EQ(Documentation(library, -1), L"Dunmore 1.0 Type Library");

    ITypeInfo* coclass = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_DunmoreExt, &coclass), S_OK);
    TYPEATTR* classAttributes = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&classAttributes), S_OK);
    EXPECT_EQ(classAttributes->typekind, TKIND_COCLASS);
    EXPECT_TRUE(classAttributes->wTypeFlags & TYPEFLAG_FCANCREATE);
    ASSERT_EQ(classAttributes->cImplTypes, 1);
    coclass->ReleaseTypeAttr(classAttributes);
    INT implementationFlags = 0;
    ASSERT_EQ(coclass->GetImplTypeFlags(0, &implementationFlags), S_OK);
    EXPECT_TRUE(implementationFlags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE defaultInterface = 0;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &defaultInterface), S_OK);
    ITypeInfo* interfaceInfo = nullptr;
    ASSERT_EQ(coclass->GetRefTypeInfo(defaultInterface, &interfaceInfo), S_OK);
    TYPEATTR* dispatchAttributes = nullptr;
    ASSERT_EQ(interfaceInfo->GetTypeAttr(&dispatchAttributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(dispatchAttributes->guid, IID_IDunmoreExt));
    EXPECT_EQ(dispatchAttributes->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(dispatchAttributes->wTypeFlags & TYPEFLAG_FDUAL);
    interfaceInfo->ReleaseTypeAttr(dispatchAttributes);

    // The vtable half of the dual interface: automation-compatible, with no methods of its own.
    HREFTYPE vtableHalf = 0;
    ASSERT_EQ(interfaceInfo->GetRefTypeOfImplType(-1, &vtableHalf), S_OK);
    ITypeInfo* vtableInfo = nullptr;
    ASSERT_EQ(interfaceInfo->GetRefTypeInfo(vtableHalf, &vtableInfo), S_OK);
    TYPEATTR* vtableAttributes = nullptr;
    ASSERT_EQ(vtableInfo->GetTypeAttr(&vtableAttributes), S_OK);
    EXPECT_EQ(vtableAttributes->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(vtableAttributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    EXPECT_TRUE(vtableAttributes->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_EQ(vtableAttributes->cFuncs, 0);
    vtableInfo->ReleaseTypeAttr(vtableAttributes);
    vtableInfo->Release();
    interfaceInfo->Release();
    coclass->Release();

    UINT classIndex = 0;
    ITypeInfo* found = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_DunmoreExt, &found), S_OK);
    found->GetContainingTypeLib(nullptr, &classIndex);
    found->Release();
    EXPECT_EQ(Documentation(library, static_cast<INT>(classIndex)), L"DunmoreExt Class");
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IDunmoreExt, &found), S_OK);
    UINT interfaceIndex = 0;
    found->GetContainingTypeLib(nullptr, &interfaceIndex);
    found->Release();
    EXPECT_EQ(Documentation(library, static_cast<INT>(interfaceIndex)), L"IDunmoreExt Interface");
    library->Release();
}

std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length))
        return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value), length ? length - 1 : 0);
}

TEST(DunmoreServer, VersionBlockNamesTheModuleAndOffersSelfRegistration) {
    const std::wstring& path = Dunmore().path;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(VersionString(block, L"FileDescription"), L"Dunmore Module");
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Dunmore Module");
    EXPECT_EQ(VersionString(block, L"InternalName"), L"Dunmore");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Dunmore.DLL");
    EXPECT_EQ(VersionString(block, L"OLESelfRegister"), L"");
}

TEST(DunmoreServer, StringResource100NamesTheProject) {
    char text[32] = {};
    ASSERT_GT(LoadStringA(Dunmore().module, 100, text, sizeof text), 0);
    EXPECT_STREQ(text, "Dunmore");
}

}  // namespace
