#include "CommandLine.h"

#include "Utf.h"

#include <windows.h>

#include <algorithm>

std::vector<std::string> FilesMatching(const std::string& pattern) {
    std::vector<std::string> files;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(reinterpret_cast<const wchar_t*>(Utf8ToUtf16(pattern).c_str()), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    const size_t cut = pattern.find_last_of("\\/:");
    const std::string folder = cut == std::string::npos ? std::string() : pattern.substr(0, cut + 1);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + Utf16ToUtf8(reinterpret_cast<const char16_t*>(found.cFileName)));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}
