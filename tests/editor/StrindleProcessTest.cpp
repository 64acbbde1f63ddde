// Starts the real program with a table and closes it as a user would.
#include "GuiTestSupport.h"

#include "TestSupport.h"

#include <chrono>
#include <filesystem>

namespace {

std::filesystem::path ProgramPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / STRINDLE_EXE_NAME;
}

class StrindleProcess : public testing::Test {
protected:
    ScratchDir scratch_;
    SettingsBackup settings_;
    UnmanagedWindowsOf unmanaged_{L"" STRINDLE_EXE_NAME};
};

TEST_F(StrindleProcess, OpensTheFirstArgumentAndClosesCleanly) {
    std::filesystem::path first = scratch_ / "first.tbl";
    std::filesystem::path second = scratch_ / "second.tbl";
    WriteTable(first.wstring(), {u"k1", u"k2"}, {u"v1", u"v2"});
    WriteTable(second.wstring(), {u"other"}, {u"value"});

    std::wstring commandLine = L"\"" + ProgramPath().wstring() + L"\" \"" + first.wstring() + L"\" \"" +
                               second.wstring() + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << GetLastError();

    HWND window = nullptr;
    std::wstring title;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        window = VisibleWindowOfProcess(process.dwProcessId);
        if (window) {
            title = TitleOf(window);
            if (title == L"Strindle - first.tbl")
                break;
        }
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
    }
    EXPECT_EQ(title, L"Strindle - first.tbl");
    EXPECT_EQ(FindWindowW(L"#32770", L"Strindle - first.tbl"), window);

    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD waited = WaitForSingleObject(process.hProcess, 30000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "Strindle did not end after WM_CLOSE";
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(StoredNumber(L"Parse On Load"), 1u) << "closing stores the switches";
}

}  // namespace
