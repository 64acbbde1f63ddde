#include "RealInput_win.h"

#include <atomic>
#include <filesystem>
#include <fstream>

namespace {

// A Windows command line that splits back into `arguments` (the rules of CommandLineToArgvW,
// which Wine follows when it starts a Unix program).
std::wstring QuotedCommandLine(const std::vector<std::string>& arguments) {
    std::wstring line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += L' ';
        line += L'"';
        size_t backslashes = 0;
        for (char c : argument) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            // Backslashes before a quote are doubled, and the quote itself escaped.
            line.append(c == '"' ? 2 * backslashes + 1 : backslashes, L'\\');
            backslashes = 0;
            line += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        line.append(2 * backslashes, L'\\');
        line += L'"';
    }
    return line;
}

std::string UniqueStatusFile() {
    static std::atomic<int> next{0};
    return "/tmp/strindle-host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(next++) + ".status";
}

// Wine shows the Unix root as drive Z:.
std::filesystem::path SeenFromWindows(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

}  // namespace

bool RunHostProgram(const std::vector<std::string>& command, std::chrono::milliseconds timeout) {
    // Wine gives no handle to wait on for a Unix program: a shell runs it and then leaves its
    // exit status in a file, written under another name and renamed so it appears whole.
    const std::string status = UniqueStatusFile();
    std::vector<std::string> shell{"/bin/sh", "-c", "\"$@\"; echo $? >\"$0.part\" && mv \"$0.part\" \"$0\"", status};
    shell.insert(shell.end(), command.begin(), command.end());
    std::wstring line = QuotedCommandLine(shell);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);

    const std::filesystem::path statusFile = SeenFromWindows(status);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::error_code error;
    while (!std::filesystem::exists(statusFile, error)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    int exitStatus = -1;
    std::ifstream(statusFile) >> exitStatus;
    std::filesystem::remove(statusFile, error);
    return exitStatus == 0;
}

bool ClickAt(POINT point) { return ClickAtEach({point}); }

bool ClickAtEach(const std::vector<POINT>& points) {
    std::vector<std::string> command{"/usr/bin/xdotool"};
    for (POINT point : points)
        command.insert(command.end(), {"mousemove", std::to_string(point.x), std::to_string(point.y), "click", "1"});
    return RunHostProgram(command);
}

bool ClickCentreOf(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    return ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

bool PressKeys(const std::vector<std::string>& keys) {
    std::vector<std::string> command{"/usr/bin/xdotool", "key"};
    command.insert(command.end(), keys.begin(), keys.end());
    return RunHostProgram(command);
}
