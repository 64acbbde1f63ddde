// The real program under real mouse clicks: while a run shows its questions and notices, clicks
// on the main window's buttons do nothing, and the run ends with the right files and summary.
#include "ConvertTestSupport.h"

#include "ForeignControls.h"
#include "GuiTestSupport_win.h"
#include "RealInput.h"
#include "StartedProgram.h"
#include "resource.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>

namespace {

constexpr wchar_t PaletteQuestion[] = L"Do you wish to load a custom palette?";
constexpr wchar_t SummaryStart[] = L"Successfully converted";

// A message box's message: its one static text that is not empty.
std::wstring MessageOf(HWND box) {
    for (const std::wstring& text : StaticTextsOf(box))
        if (!text.empty())
            return text;
    return {};
}

// The real program in a folder of three real sprites, one of them damaged (its notices come
// up during the run), driven only by mouse clicks.
class MorvaneUnderClicks : public testing::Test {
protected:
    // The folder the program is started in, which holds the sprites.
    virtual std::filesystem::path SpriteFolder() const { return folder_.Path(); }

    void SetUp() override {
        if (RealDataDir().empty())
            GTEST_SKIP() << "shared/real-data is not beside this checkout; real files not tested";
        if (const std::string why = RealInput::Unavailable(); !why.empty())
            GTEST_SKIP() << why;
        std::filesystem::create_directories(SpriteFolder());
        ASSERT_EQ(CopyRealDc6Files(SpriteFolder(), {"gf_A1L53.dc6", "sh_invchar6.dc6", "sh_hlthmana.dc6"}), 3);
        program_ = std::make_unique<StartedProgram>(ProgramBesideTests(L"MorvaneConvert.exe"), SpriteFolder());
        ASSERT_TRUE(program_->Started());
        main_ = program_->WaitForWindow([](HWND w) { return TextOf(w) == L"Morvane Converter: (3 files)"; },
                                        std::chrono::seconds(60));
        ASSERT_NE(main_, nullptr) << "the main window did not come up";
    }

    HWND Control(int id) const { return GetDlgItem(main_, id); }

    // A message box of the program other than `previous`: a dialog captioned "Morvane Converter".
    HWND WaitForMessageBox(HWND previous) const {
        return program_->WaitForWindow([&](HWND w) {
            return w != main_ && w != previous && TextOf(w) == L"Morvane Converter" && IsWindowVisible(w);
        });
    }

    // Real clicks on Convert, Browse, Select All and Quit, which must all find the window inert.
    void ClickTheMainWindowsButtons() {
        for (int id : {IDOK, 3, 4, IDCANCEL}) {
            const POINT centre = CentreOnScreen(Control(id));
            for (HWND other : TopWindowsOf(program_->Id())) {
                RECT otherRect;
                if (other != main_ && GetWindowRect(other, &otherRect)) {
                    ASSERT_FALSE(PtInRect(&otherRect, centre)) << "another window covers button " << id;
                }
            }
            input_.Click(centre);
        }
    }

    // Answers the box with a real click on its button `buttonId` (IDOK, IDNO) and waits until it
    // has gone. Clicks reach the program in order, so by then the clicks before this one have
    // been handled as well.
    void Answer(HWND box, int buttonId) {
        HWND answer = GetDlgItem(box, buttonId);
        ASSERT_NE(answer, nullptr) << "no button " << buttonId;
        input_.Click(CentreOnScreen(answer));
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, std::chrono::seconds(20)))
            << "the box did not close";
    }

    // What a test may see of the program besides the main window: the progress window and the
    // run's message boxes. A folder picker or any other window means a click was obeyed.
    // A window listed as it comes or goes may show no title yet or any more: the check waits
    // until such a moment has passed, and a window that stays fails it.
    void ExpectOnlyTheRunsWindows() const {
        std::string unexpected;
        const auto onlyTheRuns = [&] {
            unexpected.clear();
            for (HWND w : TopWindowsOf(program_->Id())) {
                wchar_t title[256] = {};
                GetWindowTextW(w, title, 256);
                if (w != main_ && wcscmp(title, L"Working...") != 0 && wcscmp(title, L"Morvane Converter") != 0)
                    unexpected += "\"" + std::string(title, title + wcslen(title)) + "\" ";
            }
            return unexpected.empty();
        };
        EXPECT_TRUE(PumpUntil(onlyTheRuns, std::chrono::seconds(5))) << "unexpected windows: " << unexpected;
        EXPECT_FALSE(IsWindowEnabled(main_)) << "the main window is usable during the run";
        EXPECT_EQ(TextOf(main_), L"Morvane Converter: (3 files)");
    }

    // Answers the run's notices after `previous` with real clicks until the summary comes, then
    // checks and answers it; during the first `clickedNotices` notices the main window's buttons
    // are clicked too. Returns the number of notices; their texts are kept in noticesSeen_.
    size_t AnswerNoticesUntilTheSummary(HWND previous, size_t clickedNotices) {
        size_t notices = 0;
        noticesSeen_.clear();
        for (;;) {
            HWND box = WaitForMessageBox(previous);
            EXPECT_NE(box, nullptr) << "no summary after " << notices << " notices";
            if (box == nullptr)
                return notices;
            const std::wstring text = MessageOf(box);
            EXPECT_NE(text, PaletteQuestion) << "a second run started";
            if (text.starts_with(SummaryStart)) {
                EXPECT_EQ(text, L"Successfully converted 3 out of 3 files selected");
                Answer(box, IDOK);
                return notices;
            }
            noticesSeen_.push_back(text);
            EXPECT_LT(++notices, 40u) << "too many notices";
            if (notices >= 40)
                return notices;
            if (notices <= clickedNotices)
                ClickTheMainWindowsButtons();
            Answer(box, IDOK);
            ExpectOnlyTheRunsWindows();
            previous = box;
        }
    }

    // Clicks the output choice `choice`, Select All and Convert, says No to the palette question
    // and answers every notice up to the summary.
    void ConvertAllAs(int choice) {
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(main_) != FALSE; })) << "the window stays disabled";
        input_.Click(CentreOnScreen(Control(choice)));
        ASSERT_TRUE(PumpUntil([&] { return IsDlgButtonChecked(main_, choice) == BST_CHECKED; })) << "the choice did not take";
        input_.Click(CentreOnScreen(Control(4)));  // Select All
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(IDOK)) != FALSE; })) << "Select All did nothing";
        input_.Click(CentreOnScreen(Control(IDOK)));

        HWND box = WaitForMessageBox(nullptr);
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(MessageOf(box), PaletteQuestion);
        Answer(box, IDNO);
        AnswerNoticesUntilTheSummary(box, 0);
    }

    ScratchDir folder_;
    RealInput input_;
    std::vector<std::wstring> noticesSeen_;
    UnmanagedWindowsOf unmanaged_{L"MorvaneConvert.exe"};
    std::unique_ptr<StartedProgram> program_;
    HWND main_ = nullptr;
};

TEST_F(MorvaneUnderClicks, ButtonsClickedWhileAQuestionOrNoticeIsUpDoNothing) {
    input_.Click(CentreOnScreen(Control(4)));  // Select All
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(IDOK)) != FALSE; })) << "Select All did nothing";
    input_.Click(CentreOnScreen(Control(IDOK)));

    HWND box = WaitForMessageBox(nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(MessageOf(box), PaletteQuestion);
    ClickTheMainWindowsButtons();
    Answer(box, IDNO);

    // The notice is the one after which the window used to come alive again.
    EXPECT_EQ(AnswerNoticesUntilTheSummary(box, 1), 1u) << "the damaged sprite gives one notice";

    const std::filesystem::path output = folder_ / "PCXFiles";
    for (const char* name : {"gf_A1L53.pcx", "sh_invchar6.pcx", "sh_hlthmana0.pcx", "sh_hlthmana3.pcx"})
        EXPECT_TRUE(std::filesystem::exists(output / name)) << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(output), std::filesystem::directory_iterator()), 6);

    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(main_) != FALSE; })) << "the window stays disabled";
    input_.Click(CentreOnScreen(Control(IDCANCEL)));  // Quit
    std::optional<DWORD> exitCode = program_->WaitForExit(std::chrono::seconds(30));
    ASSERT_TRUE(exitCode.has_value()) << "Quit did not end the program";
    EXPECT_EQ(*exitCode, 0u) << "the program did not end cleanly";
}

// One message for the damaged sprite, naming it; none once "Do not show errors" is ticked.
TEST_F(MorvaneUnderClicks, ADamagedSpriteGivesOneNoticeUnlessErrorsAreSwitchedOff) {
    ConvertAllAs(IDC_WRITEPCX);
    EXPECT_EQ(noticesSeen_, (std::vector<std::wstring>{
                                L"gf_A1L53.dc6:\nFrame 1: 35 run(s) past the frame's width were cut at its edge."}));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(main_) != FALSE; })) << "the window stays disabled";
    input_.Click(CentreOnScreen(Control(IDC_NOERRORS)));
    ASSERT_TRUE(PumpUntil([&] { return IsDlgButtonChecked(main_, IDC_NOERRORS) == BST_CHECKED; }));
    ConvertAllAs(IDC_WRITEPCX);
    EXPECT_TRUE(noticesSeen_.empty());
}

TEST_F(MorvaneUnderClicks, ThePngChoiceWritesPngImagesIntoPngFiles) {
    ConvertAllAs(IDC_WRITEPNG);

    const std::filesystem::path output = folder_ / "PNGFiles";
    for (const char* name : {"gf_A1L53.png", "sh_invchar6.png", "sh_hlthmana0.png", "sh_hlthmana3.png"})
        EXPECT_TRUE(std::filesystem::exists(output / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "PCXFiles"));
}

// A mod folder named outside the system's code page (the test prefix's is 1252).
class MorvaneInAChineseFolder : public MorvaneUnderClicks {
protected:
    std::filesystem::path SpriteFolder() const override { return folder_.Path() / u"\u4EFB\u52A1"; }  // 任务
};

TEST_F(MorvaneInAChineseFolder, ItsSpritesAreListedAndConvertedThere) {
    ConvertAllAs(IDC_WRITEPCX);
    for (const char* name : {"gf_A1L53.pcx", "sh_invchar6.pcx", "sh_hlthmana0.pcx"})
        EXPECT_TRUE(std::filesystem::exists(SpriteFolder() / "PCXFiles" / name)) << name;
}

}  // namespace
