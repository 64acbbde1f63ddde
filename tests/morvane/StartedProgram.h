#pragma once

// A real program of the build started by an end-to-end test (read its windows with
// ForeignControls.h, give it input with RealInput.h).

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The program `name` (e.g. "MorvaneConvert.exe") beside the running test program.
std::filesystem::path ProgramBesideTests(const std::wstring& name);

// Starts a program in a working folder; a program still running when the object goes is ended.
class StartedProgram {
public:
    StartedProgram(const std::filesystem::path& program, const std::filesystem::path& workingFolder);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    bool Running() const;
    // The exit code once the program has ended within `timeout`, else none.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);
    DWORD Id() const { return id_; }
    // Waits, with a deadline, for a visible window of the program that `wanted` accepts.
    HWND WaitForWindow(const std::function<bool(HWND)>& wanted,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
