// A run keeps the window inert: commands that arrive during it do nothing, the wait cursor
// stays up, and a close request ends the run before its next file.
#include "ConvertTestSupport.h"

#include <htmlhelp.h>

namespace {

class ConvertRunGuard : public ConvertWindowTest {
protected:
    void OpenWithFiles() {
        WriteDc6(WorkingFolder() / "1notice.dc6", Dc6WithZeroByte());
        WriteDc6(WorkingFolder() / "2.dc6", SolidDc6(1));
        WriteDc6(WorkingFolder() / "3.dc6", SolidDc6(2));
        OpenWindow();
        Click(4);
    }
    // What a user could do to the window while a message box is up.
    void TryEveryCommand() {
        Click(IDOK);
        Click(3);
        Click(4);
        ClickRows({1});
        Click(1003);
        HELPINFO help{sizeof help};
        SendMessageW(Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    }
};

TEST_F(ConvertRunGuard, CommandsDuringARunDoNothingAndTheWindowStaysDisabledAfterEachBox) {
    OpenWithFiles();
    std::vector<bool> enabledWhenShown;
    std::vector<bool> waitCursorWhenShown;
    prompts_.WhileShown = [&](const ScriptedPrompts::ShownMessage&) {
        enabledWhenShown.push_back(IsWindowEnabled(Window()) != FALSE);
        SendMessageW(Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        waitCursorWhenShown.push_back(GetCursor() == LoadCursorW(nullptr, IDC_WAIT));
        // As a closing message box does to its owner.
        EnableWindow(Window(), TRUE);
        TryEveryCommand();
    };
    prompts_.MessageAnswers = {IDNO};
    PressConvert();

    EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{L"Do you wish to load a custom palette?",
                                                           ZeroByteNotice(L"1notice.dc6"),
                                                           L"Successfully converted 3 out of 3 files selected"}));
    EXPECT_EQ(enabledWhenShown, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(waitCursorWhenShown, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(prompts_.FolderTitles.empty()) << "Browse acted during the run";
    EXPECT_TRUE(dialog_->ShowErrors()) << "the check box acted during the run";
    EXPECT_FALSE(dialog_->RunInProgress());
    EXPECT_TRUE(IsWindowEnabled(Window()));
    EXPECT_TRUE(Enabled(1000)) << "the list is usable again";
    EXPECT_TRUE(Enabled(3));
}

TEST_F(ConvertRunGuard, ACloseRequestDuringARunStopsBeforeTheNextFileAndClosesTheWindow) {
    OpenWithFiles();
    HWND window = Window();
    prompts_.WhileShown = [&](const ScriptedPrompts::ShownMessage& shown) {
        if (shown.Text == ZeroByteNotice(L"1notice.dc6"))
            SendMessageW(window, WM_CLOSE, 0, 0);
    };
    prompts_.MessageAnswers = {IDNO};
    PressConvert();

    EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{L"Do you wish to load a custom palette?",
                                                           ZeroByteNotice(L"1notice.dc6")}));
    EXPECT_TRUE(std::filesystem::exists(Output("1notice.pcx"))) << "the file under way is finished";
    EXPECT_FALSE(std::filesystem::exists(Output("2.pcx")));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ConvertRunGuard, ACloseRequestAtThePaletteQuestionConvertsNothing) {
    OpenWithFiles();
    HWND window = Window();
    prompts_.WhileShown = [&](const ScriptedPrompts::ShownMessage&) { SendMessageW(window, WM_CLOSE, 0, 0); };
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{L"Do you wish to load a custom palette?"}));
    EXPECT_FALSE(std::filesystem::exists(WorkingFolder() / "PCXFiles"));
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
