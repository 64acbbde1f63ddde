// Stands in for Tessaly in the tests: writes the command line it was started with, as UTF-8,
// into the file that the environment variable TESSALY_RECORD names, so that every character
// of a path reaches the test as it was passed. The file appears whole, through a rename, so
// that a test waiting for it never reads half of it.
#include <windows.h>

#include <string>

int main() {
    wchar_t recordPath[MAX_PATH * 4];
    const DWORD length = GetEnvironmentVariableW(L"TESSALY_RECORD", recordPath, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return 2;
    const std::wstring partPath = std::wstring(recordPath) + L".part";
    const wchar_t* commandLine = GetCommandLineW();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();  // the terminator
    const HANDLE file = CreateFileW(partPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    const bool ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExW(partPath.c_str(), recordPath, MOVEFILE_REPLACE_EXISTING))
        return 4;
    return 0;
}
