// Help, the progress window's keys and the minimised icon.
#include "ConvertTestSupport.h"

#include "WorkingDlg.h"
#include "resource.h"

#include <commctrl.h>
#include <htmlhelp.h>

#include <filesystem>

namespace {

using ConvertHelp = ConvertWindowTest;

TEST_F(ConvertHelp, MissingHelpFileGivesTheErrorMessageOwnedByTheWindow) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    HELPINFO help{sizeof help};
    help.iContextType = HELPINFO_WINDOW;
    SendMessageW(Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    ASSERT_EQ(prompts_.Messages.size(), 1u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"ERROR: Can't Find Help File");
    EXPECT_EQ(prompts_.Messages[0].Caption, L"Morvane Converter");
    EXPECT_EQ(prompts_.Messages[0].Type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(prompts_.Messages[0].Owner, Window());
}

TEST_F(ConvertHelp, HelpOpensTheBuiltHelpFileInTheViewer) {
    // The build puts Morvane.chm next to the programs, this test program among them.
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    helpPath_ = HelpPathIn(std::filesystem::path(program).parent_path().wstring());
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    HELPINFO help{sizeof help};
    help.iContextType = HELPINFO_WINDOW;
    SendMessageW(Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    EXPECT_TRUE(prompts_.Messages.empty());
    // The viewer's title is the help file's own title.
    HWND viewer = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (viewer = FindWindowW(nullptr, L"Morvane Convert Help")) != nullptr; },
                          std::chrono::seconds(30)));
    HtmlHelpA(nullptr, nullptr, HH_CLOSE_ALL, 0);
    PumpUntil([] { return FindWindowW(nullptr, L"Morvane Convert Help") == nullptr; });
}

TEST_F(ConvertHelp, HelpPathIsTheStartFolderMorvaneChm) { EXPECT_EQ(HelpPathIn(L"C:\\Tools"), L"C:\\Tools\\Morvane.chm"); }

TEST_F(ConvertHelp, HelpFileIsTakenFromBesideTheProgramWhenTheStartFolderHasNone) {
    ScratchDir programFolder;
    const std::wstring start = WorkingFolder().wstring();
    const std::wstring beside = programFolder.Path().wstring();
    EXPECT_EQ(FindHelpPath(start, beside), HelpPathIn(start)) << "neither has one: the start folder's is named";
    WriteBytes(programFolder / "Morvane.chm", {1});
    EXPECT_EQ(FindHelpPath(start, beside), HelpPathIn(beside));
    WriteBytes(WorkingFolder() / "Morvane.chm", {1});
    EXPECT_EQ(FindHelpPath(start, beside), HelpPathIn(start)) << "the start folder's comes first";
}

TEST_F(ConvertHelp, PressF1ForHelpIsShownWhole) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    HWND text = FindWindowExW(Window(), nullptr, L"Static", L"Press F1 for help");
    ASSERT_NE(text, nullptr);
    RECT shown;
    GetClientRect(text, &shown);
    EXPECT_LE(TextWidthIn(text, L"Press F1 for help"), shown.right) << "the text is cut";
}

TEST_F(ConvertHelp, MinimisedWindowOffersItsIconWhenDragged) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    // The result is icon 128 itself, not the procedure's "handled" nor the default icon.
    auto icon = reinterpret_cast<HICON>(SendMessageW(Window(), WM_QUERYDRAGICON, 0, 0));
    EXPECT_EQ(icon, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
}

class ProgressWindow : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(working_.CreateModeless());
    }
    CWorkingDlg working_{nullptr};
};

TEST_F(ProgressWindow, IsShownCaptionedWorkingAndShowsTheFileAndSteps) {
    HWND window = working_.Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    EXPECT_STREQ(caption, L"Working...");
    working_.SetRange(3);
    working_.SetProcessingText(u"Processing a.dc6...");
    working_.Step();
    wchar_t text[64] = {};
    GetDlgItemTextW(window, 1002, text, 64);
    EXPECT_STREQ(text, L"Processing a.dc6...");
    EXPECT_EQ(SendDlgItemMessageW(window, 1001, PBM_GETPOS, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessageW(window, 1001, PBM_GETRANGE, FALSE, 0), 3);
}

TEST_F(ProgressWindow, EscapeEnterAndTheirCommandsDoNotCloseIt) {
    HWND window = working_.Handle();
    SetFocus(window);
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        // As a message loop would take them: through the dialog manager, then dispatched.
        MSG message{window, WM_KEYDOWN, key, 0};
        if (!IsDialogMessageW(window, &message))
            DispatchMessageW(&message);
        SendMessageW(window, WM_KEYDOWN, key, 0);
    }
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(window, WM_CLOSE, 0, 0);
    PumpPending();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(working_.Handle(), window);
}

}  // namespace
