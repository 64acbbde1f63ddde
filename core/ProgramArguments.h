#pragma once

#include <string>
#include <vector>

#ifdef _WIN32
// A console program's arguments after its name, from wmain's UTF-16 as UTF-8, so that a path in
// any script works whatever the code page. Console output is switched to UTF-8 to match.
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);
#endif
