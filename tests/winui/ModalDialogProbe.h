#pragma once

#include <windows.h>

#include <functional>

// Runs `open`, which opens a modal dialog of this thread, and once the dialog is up hands it
// to `inspect`, then presses its button `closeWith`. Fails the test when no dialog comes up
// within 10 seconds (and then ends the modal loop with WM_QUIT). Returns whether it came up.
bool InspectModalDialog(const std::function<void()>& open, const std::function<void(HWND)>& inspect,
                        int closeWith = IDOK);
