#include "ConvertApp.h"

#include "ConvertDlg.h"

#include <commctrl.h>

int CConvertApp::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    char folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        folder[0] = '\0';
    Win32Prompts prompts;
    CConvertDlg mainWindow(prompts, HelpPathIn(folder));
    return mainWindow.DoModal() == -1 ? 1 : 0;
}
