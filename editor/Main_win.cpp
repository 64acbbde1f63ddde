#include "StrindleApp.h"

#include <shellapi.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::vector<std::wstring> arguments;
    int count = 0;
    if (wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count)) {
        arguments.assign(split, split + count);
        LocalFree(split);
    }
    CStrindleApp app(instance, std::move(arguments));
    return app.Run();
}
