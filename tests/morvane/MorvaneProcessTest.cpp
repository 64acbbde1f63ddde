// Starts the real program in a folder of real DC6 files and closes it as a user would.
#include "ConvertTestSupport.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path ProgramPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / "MorvaneConvert.exe";
}

TEST(MorvaneProcess, StartsInTheFolderListsItsDc6FilesAndClosesCleanly) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir folder;
    int copied = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "dc6")) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (entry.is_regular_file() && extension == ".dc6") {
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename().string());
            ++copied;
        }
    }
    ASSERT_GT(copied, 0);
    const std::wstring expected = L"Morvane Converter: (" + std::to_wstring(copied) + L" files)";

    std::wstring commandLine = L"\"" + ProgramPath().wstring() + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.Path().wstring().c_str(), &startup, &process))
        << GetLastError();

    HWND window = nullptr;
    std::wstring title;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        window = VisibleWindowOfProcess(process.dwProcessId);
        if (window) {
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            title = text;
            if (title == expected)
                break;
        }
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
    }
    EXPECT_EQ(title, expected);
    EXPECT_EQ(FindWindowW(L"#32770", expected.c_str()), window);

    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD waited = WaitForSingleObject(process.hProcess, 30000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "MorvaneConvert did not end after WM_CLOSE";
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_FALSE(std::filesystem::exists(folder / "PCXFiles")) << "nothing is written without Convert";
}

}  // namespace
