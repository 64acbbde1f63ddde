#pragma once

// A real program of the build started by an end-to-end test, and what a test reads of its
// windows from outside: which are up, their titles, texts and buttons.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The program `name` (e.g. "MorvaneConvert.exe") beside the running test program.
std::filesystem::path ProgramBesideTests(const std::wstring& name);

// While it lives, Wine draws the windows of program `exeName` unmanaged, as the test programs'
// own: without a window manager (Xvfb has none) Wine waits about 2 s on each shown window of a
// managed program as it is destroyed, every message box included. Programs started by hand stay
// managed: the setting goes with the object.
class UnmanagedWindowsOf {
public:
    explicit UnmanagedWindowsOf(const std::wstring& exeName);
    ~UnmanagedWindowsOf();
    UnmanagedWindowsOf(const UnmanagedWindowsOf&) = delete;
    UnmanagedWindowsOf& operator=(const UnmanagedWindowsOf&) = delete;

private:
    std::wstring key_;
};

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
    // The program's visible top-level windows, message boxes and dialogs included.
    std::vector<HWND> Windows() const;
    // Waits, with a deadline, for a visible window of the program that `wanted` accepts.
    HWND WaitForWindow(const std::function<bool(HWND)>& wanted,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

std::wstring WindowTitle(HWND window);
// The texts of a dialog's static controls, one per line: a message box's message.
std::wstring StaticTexts(HWND dialog);
// The dialog's button whose text, without its '&' marks, is `text`; null when there is none.
HWND ButtonWithText(HWND dialog, const std::wstring& text);
