#include "RealInput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

// Wine maps a Windows path to the Unix path that the shell and xdotool understand.
using UnixFileNameFunction = char*(CDECL*)(LPCWSTR);

UnixFileNameFunction UnixFileNameOf() {
    return reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

std::string UnixPath(const std::filesystem::path& path) {
    UnixFileNameFunction convert = UnixFileNameOf();
    char* unixPath = convert ? convert(path.wstring().c_str()) : nullptr;
    if (!unixPath)
        return {};
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

constexpr wchar_t ShellPath[] = L"Z:\\bin\\sh";
constexpr wchar_t XdotoolPath[] = L"Z:\\usr\\bin\\xdotool";
constexpr wchar_t PythonPath[] = L"Z:\\usr\\bin\\python3";

}  // namespace

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string RealInput::Unavailable() {
    if (!UnixFileNameOf())
        return "real input is given through xdotool under Wine, and this is not Wine";
    if (GetFileAttributesW(XdotoolPath) == INVALID_FILE_ATTRIBUTES)
        return "xdotool is not installed (scripts/install-deps.sh installs it)";
    if (GetFileAttributesW(PythonPath) == INVALID_FILE_ATTRIBUTES)
        return "python3, which drops files, is not installed (scripts/install-deps.sh installs it)";
    return {};
}

RealInput::~RealInput() {
    std::error_code ec;
    if (!scratch_.empty())
        std::filesystem::remove_all(scratch_, ec);
}

std::filesystem::path RealInput::Scratch() {
    if (scratch_.empty()) {
        scratch_ = std::filesystem::temp_directory_path() /
                   ("strindle-e2e-input-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(scratch_);
    }
    return scratch_;
}

void RealInput::Keys(const std::string& keys, POINT pointerInside) {
    Run("mousemove " + std::to_string(pointerInside.x) + " " + std::to_string(pointerInside.y) +
        " key --delay 40 " + keys);
}

void RealInput::Type(const std::string& text, POINT pointerInside) {
    Run("mousemove " + std::to_string(pointerInside.x) + " " + std::to_string(pointerInside.y) +
        " type --delay 40 -- " + ShellQuoted(text));
}

void RealInput::Click(POINT screen, int button, int count) {
    Run("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) + " click --repeat " +
        std::to_string(count) + " --delay 60 " + std::to_string(button));
}

void RealInput::Drag(POINT from, POINT to) {
    auto at = [](LONG x, LONG y) { return " mousemove " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.1"; };
    Run(at(from.x, from.y) + " mousedown 1" + at((from.x + to.x) / 2, (from.y + to.y) / 2) + at(to.x, to.y) +
        " mouseup 1");
}

void RealInput::DropFile(const std::filesystem::path& file, POINT screen) {
    RunUnix("python3 " + ShellQuoted(STRINDLE_XDND_DROP_SCRIPT) + " " + ShellQuoted(UnixPath(file)) + " " +
            std::to_string(screen.x) + " " + std::to_string(screen.y));
}

void RealInput::RunUnix(const std::string& command) {
    const std::string run = std::to_string(++runs_);
    const std::filesystem::path script = Scratch() / ("input" + run + ".sh");
    const std::filesystem::path marker = Scratch() / ("input" + run + ".done");
    {
        std::ofstream out(script, std::ios::binary);
        out << command << " >/dev/null 2>&1\n"
            << "echo $? > " << ShellQuoted(UnixPath(marker) + ".part") << "\n"
            << "mv " << ShellQuoted(UnixPath(marker) + ".part") << " " << ShellQuoted(UnixPath(marker)) << "\n";
    }
    std::wstring commandLine = std::wstring(L"\"") + ShellPath + L"\" \"" +
                               std::filesystem::path(UnixPath(script)).wstring() + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    // Wine starts a Unix program without a process handle, so the marker tells when it ended.
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << "could not start " << command << ": " << GetLastError();
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::error_code ec;
    while (!std::filesystem::exists(marker, ec)) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << command << " did not end";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    std::ifstream in(marker);
    int status = -1;
    in >> status;
    in.close();
    std::filesystem::remove(script, ec);
    std::filesystem::remove(marker, ec);
    ASSERT_EQ(status, 0) << command << " failed";
}
