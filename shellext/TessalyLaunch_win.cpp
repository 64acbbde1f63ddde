#include "TessalyLaunch_win.h"

#include "UniqueRegKey.h"

#include <shellapi.h>

namespace {

// Reads Tessaly's program path; false when there is no usable one. RRF_RT_REG_SZ also takes
// a REG_EXPAND_SZ value, expanded.
bool ReadTessalyPath(HKEY key, std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    DWORD bytes = sizeof buffer;
    if (RegGetValueW(key, nullptr, kTessalyPathValue, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return false;
    path = buffer;
    return !path.empty();
}

// Each path between double quotes and followed by one blank.
std::wstring TessalyParameters(const std::vector<std::wstring>& files) {
    std::wstring parameters;
    for (const std::wstring& file : files) {
        parameters += L'"';
        parameters += file;
        parameters += L"\" ";
    }
    return parameters;
}

}  // namespace

HRESULT StartTessaly(HWND owner, const std::vector<std::wstring>& files) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTessalyKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return E_INVALIDARG;
    const UniqueRegKey key(opened);
    std::wstring program;
    if (!ReadTessalyPath(key.get(), program))
        return E_FAIL;
    const std::wstring parameters = TessalyParameters(files);
    // The same launch as ShellExecuteW, with its error messages off: a failed start is not
    // reported to the user.
    SHELLEXECUTEINFOW launch = {sizeof launch};
    launch.fMask = SEE_MASK_FLAG_NO_UI;
    launch.hwnd = owner;
    launch.lpVerb = L"open";
    launch.lpFile = program.c_str();
    launch.lpParameters = parameters.c_str();
    launch.nShow = SW_SHOW;
    ShellExecuteExW(&launch);
    return S_OK;
}
