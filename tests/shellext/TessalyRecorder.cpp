// Stands in for Tessaly in the tests: writes the command line it was started with into the
// file that the environment variable TESSALY_RECORD names. The file appears whole, through a
// rename, so that a test waiting for it never reads half of it.
#include <windows.h>

#include <string>

int main() {
    char recordPath[MAX_PATH * 4];
    const DWORD length = GetEnvironmentVariableA("TESSALY_RECORD", recordPath, sizeof recordPath);
    if (length == 0 || length >= sizeof recordPath)
        return 2;
    const std::string partPath = std::string(recordPath) + ".part";
    const HANDLE file = CreateFileA(partPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    const char* commandLine = GetCommandLineA();
    DWORD written = 0;
    const bool ok = WriteFile(file, commandLine, static_cast<DWORD>(lstrlenA(commandLine)), &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExA(partPath.c_str(), recordPath, MOVEFILE_REPLACE_EXISTING))
        return 4;
    return 0;
}
