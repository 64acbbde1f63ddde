#include "Utf.h"

#include <windows.h>

#include "ToolSupport.h"

#include <string>
#include <vector>

// The arguments come as UTF-16, so any path works whatever the code page; output is UTF-8.
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return RunTbltool(args);
}
