#include "TessalyLaunch_win.h"

#include "UniqueRegKey.h"

#include <shellapi.h>

namespace {

// Reads Tessaly's program path; false when there is no usable one.
bool ReadTessalyPath(HKEY key, std::string& path) {
    char buffer[MAX_PATH];
    DWORD bytes = sizeof buffer;
    if (RegGetValueA(key, nullptr, kTessalyPathValue, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return false;
    path = buffer;
    return !path.empty();
}

// Each path between double quotes and followed by one blank.
std::string TessalyParameters(const std::vector<std::string>& files) {
    std::string parameters;
    for (const std::string& file : files)
        parameters += '"' + file + "\" ";
    return parameters;
}

}  // namespace

HRESULT StartTessaly(HWND owner, const std::vector<std::string>& files) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kTessalyKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return E_INVALIDARG;
    const UniqueRegKey key(opened);
    std::string program;
    if (!ReadTessalyPath(key.get(), program))
        return E_FAIL;
    const std::string parameters = TessalyParameters(files);
    // The same launch as ShellExecuteA, with its error messages off: a failed start is not
    // reported to the user.
    SHELLEXECUTEINFOA launch = {sizeof launch};
    launch.fMask = SEE_MASK_FLAG_NO_UI;
    launch.hwnd = owner;
    launch.lpVerb = "open";
    launch.lpFile = program.c_str();
    launch.lpParameters = parameters.c_str();
    launch.nShow = SW_SHOW;
    ShellExecuteExA(&launch);
    return S_OK;
}
