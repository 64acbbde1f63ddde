#include "StartedProgram_win.h"

#include "GuiTestSupport_win.h"

namespace {

BOOL CALLBACK CollectVisibleWindowOfProcess(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->first && IsWindowVisible(window))
        search->second.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The text of another process's control: WM_GETTEXT crosses processes, GetWindowText does not.
std::wstring ControlText(HWND control) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    return text;
}

}  // namespace

std::filesystem::path ProgramBesideTests(const std::wstring& name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / name;
}

UnmanagedWindowsOf::UnmanagedWindowsOf(const std::wstring& exeName)
    : key_(L"Software\\Wine\\AppDefaults\\" + exeName + L"\\X11 Driver") {
    RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Managed", REG_SZ, L"N", 2 * sizeof(wchar_t));
}

UnmanagedWindowsOf::~UnmanagedWindowsOf() { RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Managed"); }

StartedProgram::StartedProgram(const std::filesystem::path& program, const std::filesystem::path& workingFolder) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.wstring().c_str(), &startup, &process))
        return;
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    id_ = process.dwProcessId;
}

StartedProgram::~StartedProgram() {
    if (!process_)
        return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

bool StartedProgram::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> StartedProgram::WaitForExit(std::chrono::milliseconds timeout) {
    if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<HWND> StartedProgram::Windows() const {
    std::pair<DWORD, std::vector<HWND>> search{id_, {}};
    EnumWindows(CollectVisibleWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND StartedProgram::WaitForWindow(const std::function<bool(HWND)>& wanted, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : Windows())
                if (wanted(window))
                    return (found = window) != nullptr;
            return !Running();
        },
        timeout);
    return found;
}

std::wstring WindowTitle(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring StaticTexts(HWND dialog) {
    std::wstring texts;
    for (HWND child : ChildrenOf(dialog)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") != 0)
            continue;
        std::wstring text = ControlText(child);
        if (text.empty())
            continue;
        if (!texts.empty())
            texts += L'\n';
        texts += text;
    }
    return texts;
}

HWND ButtonWithText(HWND dialog, const std::wstring& text) {
    for (HWND child : ChildrenOf(dialog)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Button") != 0)
            continue;
        std::wstring shown = ControlText(child);
        std::erase(shown, L'&');
        if (shown == text)
            return child;
    }
    return nullptr;
}
