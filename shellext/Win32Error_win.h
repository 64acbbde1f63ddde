#pragma once

#include <windows.h>

// The calling thread's last Win32 error as an HRESULT; E_FAIL when the failed call left none,
// so that a failure never reads as success.
inline HRESULT LastErrorResult() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}
