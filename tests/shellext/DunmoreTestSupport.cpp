#include "DunmoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr ULONGLONG kDeadlineMs = 30000;
constexpr wchar_t kZuqKey[] = L"Software\\Zuq";
constexpr wchar_t kTessalyKey[] = L"Software\\Zuq\\SheetProg";

// The handler lives in the shell's single-threaded apartment; so do the tests.
class ComApartment : public testing::Environment {
public:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override { CoUninitialize(); }
};
testing::Environment* const kComApartment = testing::AddGlobalTestEnvironment(new ComApartment);

template <typename Char>
HGLOBAL MakeDropList(const std::vector<std::basic_string<Char>>& paths, bool wide) {
    size_t chars = 1;  // the list's closing terminator
    for (const auto& path : paths)
        chars += path.size() + 1;
    const size_t bytes = sizeof(DROPFILES) + chars * sizeof(Char);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide;
    Char* next = reinterpret_cast<Char*>(header + 1);
    for (const auto& path : paths) {
        std::memcpy(next, path.c_str(), (path.size() + 1) * sizeof(Char));
        next += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

template <typename Function>
void LoadExport(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

std::filesystem::path TestProgramDir() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

namespace {

DunmoreLibrary LoadDunmoreLibrary(const wchar_t* fileName) {
    DunmoreLibrary loaded{};
    loaded.path = (TestProgramDir() / fileName).wstring();
    loaded.module = LoadLibraryW(loaded.path.c_str());
    if (loaded.module) {
        LoadExport(loaded.module, "DllCanUnloadNow", loaded.canUnloadNow);
        LoadExport(loaded.module, "DllGetClassObject", loaded.getClassObject);
        LoadExport(loaded.module, "DllRegisterServer", loaded.registerServer);
        LoadExport(loaded.module, "DllUnregisterServer", loaded.unregisterServer);
        LoadExport(loaded.module, "FailAllocationAfter", loaded.failAllocationAfter);
    }
    return loaded;
}

const DunmoreLibrary& Checked(const DunmoreLibrary& library) {
    if (!library.module || !library.canUnloadNow || !library.getClassObject || !library.registerServer ||
        !library.unregisterServer)
        ADD_FAILURE() << std::filesystem::path(library.path).filename().string()
                      << " or one of its four exports is missing beside the test program";
    return library;
}

}  // namespace

const DunmoreLibrary& Dunmore() {
    static const DunmoreLibrary library = LoadDunmoreLibrary(L"Dunmore.dll");
    return Checked(library);
}

const DunmoreLibrary& DunmoreAllocationSeam() {
    static const DunmoreLibrary library = LoadDunmoreLibrary(L"DunmoreAllocationSeam.dll");
    return Checked(library);
}

IContextMenu* CreateContextMenuHandler(const DunmoreLibrary& library) {
    if (!library.getClassObject)
        return nullptr;
    IClassFactory* factory = nullptr;
    if (FAILED(library.getClassObject(CLSID_DunmoreExt, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return nullptr;
    IContextMenu* handler = nullptr;
    factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&handler));
    factory->Release();
    return handler;
}

std::wstring GuidText(const GUID& guid) {
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return text;
}

DropListDataObject DropListDataObject::Ansi(const std::vector<std::string>& paths) {
    return DropListDataObject(MakeDropList(paths, false));
}

DropListDataObject DropListDataObject::Wide(const std::vector<std::wstring>& paths) {
    return DropListDataObject(MakeDropList(paths, true));
}

DropListDataObject DropListDataObject::WithoutDropList() {
    return DropListDataObject(nullptr);
}

DropListDataObject::DropListDataObject(DropListDataObject&& other) noexcept : dropList_(other.dropList_) {
    other.dropList_ = nullptr;
}

DropListDataObject::~DropListDataObject() {
    if (dropList_)
        GlobalFree(dropList_);
}

UINT DropListDataObject::DropListLockCount() const {
    return GlobalFlags(dropList_) & GMEM_LOCKCOUNT;
}

STDMETHODIMP DropListDataObject::QueryInterface(REFIID iid, void** out) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        AddRef();
        *out = static_cast<IDataObject*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DropListDataObject::AddRef() {
    return static_cast<ULONG>(++references_);
}

STDMETHODIMP_(ULONG) DropListDataObject::Release() {
    return static_cast<ULONG>(--references_);
}

STDMETHODIMP DropListDataObject::QueryGetData(FORMATETC* format) {
    return dropList_ && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
}

// Hands out the list itself; the medium's pUnkForRelease makes ReleaseStgMedium release this
// object instead of freeing the list.
STDMETHODIMP DropListDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (QueryGetData(format) != S_OK)
        return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = dropList_;
    medium->pUnkForRelease = this;
    AddRef();
    return S_OK;
}

std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& value,
                                               REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t data[4096];
    DWORD bytes = sizeof data;
    const LSTATUS status =
        RegGetValueW(opened, nullptr, value.empty() ? nullptr : value.c_str(), RRF_RT_REG_SZ, nullptr, data, &bytes);
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

bool RegistryKeyExists(HKEY root, const std::wstring& key, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

void WriteRegistryString(HKEY root, const std::wstring& key, const std::wstring& value, const std::wstring& data,
                         REGSAM view) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(created, value.empty() ? nullptr : value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(created);
}

REGSAM OtherBitnessView() {
    return sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

void CreateRegistryKey(HKEY root, const std::wstring& key) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
}

TessalySetting::TessalySetting()
    : zuqExisted_(RegistryKeyExists(HKEY_CURRENT_USER, kZuqKey)),
      keyExisted_(RegistryKeyExists(HKEY_CURRENT_USER, kTessalyKey)) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kTessalyKey, L"Path", RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &bytes) ==
        ERROR_SUCCESS) {
        savedData_.resize(bytes);
        RegGetValueW(HKEY_CURRENT_USER, kTessalyKey, L"Path", RRF_RT_ANY | RRF_NOEXPAND, &type, savedData_.data(),
                     &bytes);
        savedType_ = type;
    }
}

TessalySetting::~TessalySetting() {
    if (!zuqExisted_) {
        RegDeleteTreeW(HKEY_CURRENT_USER, kZuqKey);
    } else if (!keyExisted_) {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTessalyKey);
    } else if (savedType_) {
        SetPath(*savedType_, savedData_.data(), static_cast<DWORD>(savedData_.size()));
    } else {
        RemovePath();
    }
}

void TessalySetting::SetPath(DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTessalyKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, L"Path", 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(key);
}

void TessalySetting::SetPath(const std::filesystem::path& path, DWORD type) {
    const std::wstring& text = path.native();
    SetPath(type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void TessalySetting::RemovePath() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kTessalyKey, L"Path");
}

void TessalySetting::RemoveKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTessalyKey);
}

void SetRecordFile(const std::filesystem::path& record) {
    SetEnvironmentVariableW(L"TESSALY_RECORD", record.wstring().c_str());
}

std::string Utf8(std::wstring_view text) {
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

std::filesystem::path RecorderPath() {
    return TestProgramDir() / "tessaly_recorder.exe";
}

std::optional<std::string> WaitForRecord(const std::filesystem::path& record) {
    // The record is never empty; just after its rename Wine may still hold it open for a moment.
    const ULONGLONG deadline = GetTickCount64() + kDeadlineMs;
    for (;;) {
        std::ifstream in(record, std::ios::binary);
        std::string text(std::istreambuf_iterator<char>(in), {});
        if (!text.empty())
            return text;
        if (GetTickCount64() > deadline)
            return std::nullopt;
        Sleep(10);
    }
}

std::string ParametersOf(const std::string& commandLine) {
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        end = commandLine.find('"', 1);
        end = end == std::string::npos ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find_first_of(" \t");
        if (end == std::string::npos)
            end = commandLine.size();
    }
    if (end < commandLine.size())
        ++end;  // the blank between the program and its parameters
    return commandLine.substr(end);
}

int RunProgram(const std::wstring& commandLine) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(kDeadlineMs)) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}
