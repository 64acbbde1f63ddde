#pragma once

#include <windows.h>

// The application object: the start-up of a program with one main window.
class CWinApp {
public:
    explicit CWinApp(HINSTANCE instance) : instance_(instance) {}
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program to its end; returns the process exit code.
    virtual int Run() = 0;

    HINSTANCE Instance() const { return instance_; }

private:
    HINSTANCE instance_;
};
