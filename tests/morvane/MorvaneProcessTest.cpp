// Starts the real program in a folder of real DC6 files and closes it as a user would.
#include "ConvertTestSupport.h"

#include "ForeignControls.h"
#include "GuiTestSupport_win.h"
#include "StartedProgram.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace {

TEST(MorvaneProcess, StartsInTheFolderListsItsDc6FilesAndClosesCleanly) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir folder;
    const int copied = CopyRealDc6Files(folder.Path(), {});
    ASSERT_GT(copied, 0);
    const std::wstring expected = L"Morvane Converter: (" + std::to_wstring(copied) + L" files)";

    const UnmanagedWindowsOf unmanaged(L"MorvaneConvert.exe");
    StartedProgram program(ProgramBesideTests(L"MorvaneConvert.exe"), folder.Path());
    ASSERT_TRUE(program.Started()) << GetLastError();
    HWND window = program.WaitForWindow([&](HWND w) { return TextOf(w) == expected; }, std::chrono::seconds(60));
    ASSERT_NE(window, nullptr) << "no window titled as expected";
    EXPECT_EQ(FindWindowW(L"#32770", expected.c_str()), window);

    PostMessageW(window, WM_CLOSE, 0, 0);
    std::optional<DWORD> exitCode = program.WaitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(exitCode.has_value()) << "MorvaneConvert did not end after WM_CLOSE";
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_FALSE(std::filesystem::exists(folder / "PCXFiles")) << "nothing is written without Convert";
}

}  // namespace
