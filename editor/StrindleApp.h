#pragma once

#include "WinApp.h"

#include <string>
#include <vector>

// Strindle's start-up: the rich-edit library, the main window and its accelerators, and the
// file named as the first command-line argument.
class CStrindleApp : public CWinApp {
public:
    // `arguments` as split from the command line, the program's own name first.
    CStrindleApp(HINSTANCE instance, std::vector<std::wstring> arguments);
    int Run() override;

private:
    std::vector<std::wstring> arguments_;
};
