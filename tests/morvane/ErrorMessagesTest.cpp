// The reader's messages during a run: header errors, as a question that can switch them off,
// and one message for each file whose frames are damaged; the check box silences both.
#include "ConvertTestSupport.h"

#include <algorithm>

namespace {

const std::wstring VersionError =
    L"DC6 file is not version 6 and can not be converted!\n\n"
    L"Do you wish to receive further error notification?";

Dc6TestFile Version5() {
    Dc6TestFile file = SolidDc6(1);
    file.version = 5;
    return file;
}

// A 4 x 1 frame with a transparent run past its width.
Dc6TestFile WithOverrun() {
    Dc6TestFile file;
    file.frames.push_back({4, 1, 0, 0, {0x01, 0x09, 0x84, 0x80}});
    return file;
}

class ConvertMessages : public ConvertWindowTest {
protected:
    void OpenWithDamagedFiles() {
        WriteDc6(WorkingFolder() / "1bad.dc6", Version5());
        WriteDc6(WorkingFolder() / "2bad.dc6", Version5());
        WriteDc6(WorkingFolder() / "3zero.dc6", Dc6WithZeroByte());
        WriteDc6(WorkingFolder() / "4overrun.dc6", WithOverrun());
        OpenWindow();
    }
    bool BoxChecked() const { return IsDlgButtonChecked(Window(), 1003) == BST_CHECKED; }
    void ConvertAll(std::deque<int> answers) {
        prompts_.Messages.clear();
        Click(4);
        prompts_.MessageAnswers = std::move(answers);
        PressConvert();
    }
};

const std::wstring OverrunNotice = L"4overrun.dc6:\nFrame 0: 1 run(s) past the frame's width were cut at its edge.";

TEST_F(ConvertMessages, NoToAHeaderErrorSwitchesEveryMessageOffAndChecksTheBox) {
    OpenWithDamagedFiles();
    std::vector<HWND> errorOwners;
    prompts_.WhileShown = [&](const ScriptedPrompts::ShownMessage& shown) {
        if (shown.Text == VersionError)
            errorOwners.push_back(dialog_->ProgressWindow());
    };
    ConvertAll({IDNO, IDNO});

    EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{L"Do you wish to load a custom palette?", VersionError,
                                                           L"Successfully converted 2 out of 4 files selected"}));
    ASSERT_EQ(prompts_.Messages.size(), 3u);
    EXPECT_EQ(prompts_.Messages[1].Type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(prompts_.Messages[1].Caption, L"Morvane Converter");
    ASSERT_EQ(errorOwners.size(), 1u);
    EXPECT_NE(errorOwners[0], nullptr) << "the progress window is up during the run";
    EXPECT_EQ(prompts_.Messages[1].Owner, errorOwners[0]);
    EXPECT_TRUE(BoxChecked());
    EXPECT_FALSE(dialog_->ShowErrors());
}

TEST_F(ConvertMessages, SwitchedOffErrorsStayOffInLaterRunsUntilTheBoxIsUnchecked) {
    OpenWithDamagedFiles();
    ConvertAll({IDNO, IDNO});
    ConvertAll({IDNO});
    EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{L"Do you wish to load a custom palette?",
                                                           L"Successfully converted 2 out of 4 files selected"}));

    CheckDlgButton(Window(), 1003, BST_UNCHECKED);
    Click(1003);
    EXPECT_TRUE(dialog_->ShowErrors());
    ConvertAll({IDNO, IDYES, IDYES});
    auto texts = prompts_.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), VersionError), 2);
}

TEST_F(ConvertMessages, YesKeepsTheErrorsComingWithOneMessageForEachDamagedFile) {
    OpenWithDamagedFiles();
    ConvertAll({IDNO, IDYES, IDYES});
    EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{L"Do you wish to load a custom palette?", VersionError,
                                                           VersionError, ZeroByteNotice(L"3zero.dc6"), OverrunNotice,
                                                           L"Successfully converted 2 out of 4 files selected"}));
    EXPECT_EQ(prompts_.Messages[3].Type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_FALSE(BoxChecked());
    EXPECT_TRUE(dialog_->ShowErrors());
}

TEST_F(ConvertMessages, CheckingTheBoxBeforeARunSilencesEveryMessageButTheSummary) {
    OpenWithDamagedFiles();
    CheckDlgButton(Window(), 1003, BST_CHECKED);
    Click(1003);
    EXPECT_FALSE(dialog_->ShowErrors());
    ConvertAll({IDNO});
    EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{L"Do you wish to load a custom palette?",
                                                           L"Successfully converted 2 out of 4 files selected"}));
}

}  // namespace
