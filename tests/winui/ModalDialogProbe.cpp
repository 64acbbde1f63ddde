#include "ModalDialogProbe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Inspection {
    const std::function<void(HWND)>* Inspect = nullptr;
    int CloseWith = IDOK;
    DWORD Started = 0;
    bool Seen = false;
    bool TimedOut = false;
};
Inspection inspection;

BOOL CALLBACK FindModalDialog(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK InspectWhenUp(HWND, UINT, UINT_PTR, DWORD) {
    if (inspection.Seen || inspection.TimedOut)
        return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindModalDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog && GetDlgItem(dialog, inspection.CloseWith)) {
        inspection.Seen = true;
        (*inspection.Inspect)(dialog);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(inspection.CloseWith, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, inspection.CloseWith)));
    } else if (GetTickCount() - inspection.Started > 10000) {
        inspection.TimedOut = true;
        ADD_FAILURE() << "no dialog came up within 10 seconds";
        PostQuitMessage(0);
    }
}

}  // namespace

bool InspectModalDialog(const std::function<void()>& open, const std::function<void(HWND)>& inspect, int closeWith) {
    inspection = {&inspect, closeWith, GetTickCount(), false, false};
    UINT_PTR timer = SetTimer(nullptr, 0, 20, InspectWhenUp);
    open();
    KillTimer(nullptr, timer);
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    return inspection.Seen;
}
