#pragma once

#include "WinApp.h"

// Morvane Convert's start-up: the help path from the folder it was started in, then the main
// window until it closes.
class CConvertApp : public CWinApp {
public:
    explicit CConvertApp(HINSTANCE instance) : CWinApp(instance) {}
    int Run() override;
};
