#include "StrindleApp.h"

#include "StrindleDlg.h"
#include "WideText_win.h"
#include "resource.h"

#include <commctrl.h>

CStrindleApp::CStrindleApp(HINSTANCE instance, std::vector<std::wstring> arguments)
    : CWinApp(instance), arguments_(std::move(arguments)) {}

int CStrindleApp::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (!LoadRichEditLibrary())
        return 1;

    Win32Prompts prompts;
    CStrindleDlg mainWindow(prompts);
    mainWindow.SetAccelerators(LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(IDR_ACCELERATORS)));
    if (arguments_.size() > 1) {
        mainWindow.StartupOpenRequest = true;
        mainWindow.StartupPath = Utf16(arguments_[1]);
    }
    return mainWindow.DoModal() == -1 ? 1 : 0;
}
