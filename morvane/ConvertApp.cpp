#include "ConvertApp.h"

#include "ConvertDlg.h"

#include <commctrl.h>
#include <objbase.h>

#include <cwchar>

int CConvertApp::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    // The shell's folder picker is a COM object and wants the thread in an apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        folder[0] = L'\0';
    wchar_t program[MAX_PATH] = {};
    length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        program[0] = L'\0';
    if (wchar_t* lastSeparator = std::wcsrchr(program, L'\\'))
        *lastSeparator = L'\0';
    Win32Prompts prompts;
    CConvertDlg mainWindow(prompts, FindHelpPath(folder, program));
    const int exitCode = mainWindow.DoModal() == -1 ? 1 : 0;
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}
