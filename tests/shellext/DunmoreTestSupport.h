#pragma once

// Helpers of the Dunmore tests: the library loaded the way the shell loads it, a data object
// that hands over a CF_HDROP list, registry helpers that put back what a test changed, and
// the recorder that stands in for Tessaly.

#include "Dunmore_h.h"

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A server library from the test program's own folder, loaded once for the whole run.
struct DunmoreLibrary {
    HMODULE module;
    std::wstring path;
    HRESULT(STDAPICALLTYPE* canUnloadNow)();
    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**);
    HRESULT(STDAPICALLTYPE* registerServer)();
    HRESULT(STDAPICALLTYPE* unregisterServer)();
    // DunmoreAllocationSeam.dll only: lets `successes` allocations of the library succeed and
    // makes the next one throw std::bad_alloc; a negative count lets every one succeed.
    void(WINAPI* failAllocationAfter)(LONG successes);
};
const DunmoreLibrary& Dunmore();
const DunmoreLibrary& DunmoreAllocationSeam();

// Folder of the test program (its bin/ folder), where the library and the recorder are.
std::filesystem::path TestProgramDir();

// A fresh DunmoreExt through the class factory, as the shell makes one; null on failure.
IContextMenu* CreateContextMenuHandler(const DunmoreLibrary& library = Dunmore());

// The braced string form of an identifier, as the registry holds it.
std::wstring GuidText(const GUID& guid);

// A data object offering `paths` as a CF_HDROP list (ANSI or UTF-16), or offering no
// CF_HDROP at all. It lives on the stack and counts its references, so a test can tell that
// the storage medium it handed out was released; the list's lock count shows it was unlocked.
class DropListDataObject final : public IDataObject {
public:
    static DropListDataObject Ansi(const std::vector<std::string>& paths);
    static DropListDataObject Wide(const std::vector<std::wstring>& paths);
    static DropListDataObject WithoutDropList();

    DropListDataObject(DropListDataObject&& other) noexcept;
    ~DropListDataObject();

    LONG References() const { return references_; }
    UINT DropListLockCount() const;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    explicit DropListDataObject(HGLOBAL dropList) : dropList_(dropList) {}

    HGLOBAL dropList_;  // null: no CF_HDROP offered
    LONG references_ = 1;
};

// Reads a string value (REG_SZ); nothing when the key or value is missing or not a string.
// `view` picks a registry view (KEY_WOW64_32KEY, KEY_WOW64_64KEY); 0 is the program's own.
std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& value = L"",
                                               REGSAM view = 0);
bool RegistryKeyExists(HKEY root, const std::wstring& key, REGSAM view = 0);
void CreateRegistryKey(HKEY root, const std::wstring& key);
void WriteRegistryString(HKEY root, const std::wstring& key, const std::wstring& value, const std::wstring& data,
                         REGSAM view = 0);

// The registry view of the other bitness: the 32-bit one from a 64-bit test and back.
REGSAM OtherBitnessView();

// Tessaly's setting (HKEY_CURRENT_USER\Software\Zuq\SheetProg), put back as it was found when
// the object goes.
class TessalySetting {
public:
    TessalySetting();
    ~TessalySetting();
    TessalySetting(const TessalySetting&) = delete;
    TessalySetting& operator=(const TessalySetting&) = delete;

    void SetPath(DWORD type, const void* data, DWORD bytes);
    void SetPath(const std::filesystem::path& path, DWORD type = REG_SZ);
    void RemovePath();
    void RemoveKey();

private:
    bool zuqExisted_;
    bool keyExisted_;
    std::optional<DWORD> savedType_;
    std::vector<BYTE> savedData_;
};

// Starts the recorder through the handler: the recorder's record goes to `record`.
void SetRecordFile(const std::filesystem::path& record);
std::filesystem::path RecorderPath();

// UTF-16 text as UTF-8, the form in which the recorder writes its command line.
std::string Utf8(std::wstring_view text);

// The recorder's command line (UTF-8) once `record` has appeared, or nothing after the deadline.
std::optional<std::string> WaitForRecord(const std::filesystem::path& record);

// What follows the program name and its one separating blank in a command line.
std::string ParametersOf(const std::string& commandLine);

// Runs a program to its end (with a deadline) and returns its exit code, or -1.
int RunProgram(const std::wstring& commandLine);
