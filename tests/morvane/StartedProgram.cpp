#include "StartedProgram.h"

#include "ForeignControls.h"
#include "GuiTestSupport_win.h"

std::filesystem::path ProgramBesideTests(const std::wstring& name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / name;
}

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

HWND StartedProgram::WaitForWindow(const std::function<bool(HWND)>& wanted, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : TopWindowsOf(id_))
                if (wanted(window))
                    return (found = window) != nullptr;
            return !Running();
        },
        timeout);
    return found;
}
