#pragma once

// Real input for end-to-end tests of the Windows programs: the mouse and keyboard of the X
// display that Wine draws on, driven by xdotool. The test program runs under Wine, which starts
// Unix programs; each call waits, with a deadline, until xdotool has finished.

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

// Runs a Unix program (`command[0]` an absolute Unix path) and waits for it to end; true when
// it ended within `timeout` with status 0.
bool RunHostProgram(const std::vector<std::string>& command,
                    std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A real left click at a point of the screen, in Windows screen coordinates (Wine's screen is
// the X display's root window, point for point).
bool ClickAt(POINT point);
// Real left clicks at each point in turn, in one run of xdotool.
bool ClickAtEach(const std::vector<POINT>& points);
// A real left click in the middle of `window` (any process's).
bool ClickCentreOf(HWND window);
// Real key presses, in xdotool's key names ("Return", "alt+F4").
bool PressKeys(const std::vector<std::string>& keys);
