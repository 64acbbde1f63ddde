#include "ProgramArguments.h"

#include "Utf.h"

#include <windows.h>

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return args;
}
