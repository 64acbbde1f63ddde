// The preview of the real program under real mouse clicks: selecting a file shows its first
// frame, the steppers and Play go through its frames, and files that can not be shown say so in
// the preview, without a message box. What the preview shows is read from the screen.
#include "ConvertTestSupport.h"

#include "Dc6Sprite.h"
#include "DccSprite.h"
#include "ForeignControls.h"
#include "GuiTestSupport_win.h"
#include "RealInput.h"
#include "StartedProgram.h"
#include "resource.h"

#include <chrono>
#include <cwchar>
#include <filesystem>
#include <set>
#include <string>

namespace {

constexpr uint32_t CheckerLight = 0xFFFFFF;
constexpr uint32_t CheckerDark = 0xCCCCCC;

// The colours (0xRRGGBB) of the screen over `window`'s client area.
std::multiset<uint32_t> ScreenColoursOf(HWND window) {
    RECT area;
    GetClientRect(window, &area);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    std::multiset<uint32_t> colours;
    for (int i = 0; i < width * height; ++i)
        colours.insert(static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colours;
}

// The colours a frame's drawn pixels have in the act 1 palette.
std::set<uint32_t> ColoursOfFrame(const Dc6SourceFrame& frame) {
    const Palette& bgr = BuiltInPalette();
    std::set<uint32_t> colours;
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        const size_t at = 3 * size_t{frame.pixels[i]};
        if (frame.opaque[i])
            colours.insert(uint32_t{bgr[at + 2]} << 16 | uint32_t{bgr[at + 1]} << 8 | bgr[at]);
    }
    return colours;
}

class MorvanePreviewUnderClicks : public testing::Test {
protected:
    void SetUp() override {
        if (RealDataDir().empty())
            GTEST_SKIP() << "shared/real-data is not beside this checkout; real files not tested";
        if (const std::string why = RealInput::Unavailable(); !why.empty())
            GTEST_SKIP() << why;
        // Named so that the list's order is known: rows 0, 1 and 2.
        WriteBytes(folder_ / "a_broken.dc6", std::vector<uint8_t>(40, 0xAB));
        std::filesystem::copy_file(RealDataDir() / "dc6" / "ap_redbutton.DC6", folder_ / "b_redbutton.dc6");
        std::filesystem::copy_file(RealDataDir() / "dc6" / "sh_hlthmana.dc6", folder_ / "c_hlthmana.dc6");
        std::filesystem::copy_file(RealDataDir() / "dcc" / "gf_HPTRLITWLHTH.dcc", folder_ / "d_walk.dcc");
        Dc6Sprite sprite;
        std::string problem;
        ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(folder_ / "c_hlthmana.dc6"), {}, sprite, problem)) << problem;
        hlthmana_ = sprite.frames;
        ASSERT_TRUE(DecodeDccSprite(ReadBytes(folder_ / "d_walk.dcc"), Dc6FrameScope::AllFrames, sprite, problem))
            << problem;
        walk_ = sprite.frames;
        program_ = std::make_unique<StartedProgram>(ProgramBesideTests(L"MorvaneConvert.exe"), folder_.Path());
        ASSERT_TRUE(program_->Started());
        main_ = program_->WaitForWindow([](HWND w) { return TextOf(w) == L"Morvane Converter: (4 files)"; },
                                        std::chrono::seconds(60));
        ASSERT_NE(main_, nullptr) << "the main window did not come up";
    }

    HWND Control(int id) const { return GetDlgItem(main_, id); }
    void ClickRow(int row) { input_.Click(CentreOf(ListViewRowRectOnScreen(Control(IDC_FILELIST), row))); }
    void Click(int id) { input_.Click(CentreOnScreen(Control(id))); }
    bool Shows(int id, const std::wstring& text) {
        return PumpUntil([&] { return TextOf(Control(id)) == text; });
    }

    // Waits until the preview shows the checkerboard and some of the frame's colours, and
    // nothing else; returns what it showed.
    std::multiset<uint32_t> WaitForFrameShown(const Dc6SourceFrame& frame) {
        std::set<uint32_t> allowed = ColoursOfFrame(frame);
        allowed.insert({CheckerLight, CheckerDark});
        std::multiset<uint32_t> shown;
        const bool ok = PumpUntil([&] {
            shown = ScreenColoursOf(Control(IDC_PREVIEW));
            bool frameColour = false;
            for (uint32_t colour : shown) {
                if (!allowed.contains(colour))
                    return false;
                frameColour |= colour != CheckerLight && colour != CheckerDark;
            }
            return frameColour && shown.contains(CheckerLight) && shown.contains(CheckerDark);
        });
        EXPECT_TRUE(ok) << "the preview does not show the frame over the checkerboard";
        return shown;
    }

    // No window of the program besides the main window: no message box came up.
    void ExpectNoOtherWindow() const {
        for (HWND w : TopWindowsOf(program_->Id()))
            EXPECT_EQ(w, main_) << "a window \"" << std::string(TextOf(w).begin(), TextOf(w).end()) << "\" came up";
    }

    ScratchDir folder_;
    RealInput input_;
    UnmanagedWindowsOf unmanaged_{L"MorvaneConvert.exe"};
    std::unique_ptr<StartedProgram> program_;
    HWND main_ = nullptr;
    std::vector<Dc6SourceFrame> hlthmana_;
    std::vector<Dc6SourceFrame> walk_;  // a monster's walk: 8 directions of 11 frames
};

TEST_F(MorvanePreviewUnderClicks, AMonstersWalkShowsInEachDirectionAndPlays) {
    ClickRow(3);
    ASSERT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 1 of 11"));
    EXPECT_EQ(TextOf(Control(IDC_DIRECTIONTEXT)), L"Direction 1 of 8");
    WaitForFrameShown(walk_[0]);
    Click(IDC_NEXTDIRECTION);
    ASSERT_TRUE(Shows(IDC_DIRECTIONTEXT, L"Direction 2 of 8"));
    WaitForFrameShown(walk_[11]);
    Click(IDC_PLAY);
    EXPECT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 2 of 11"));
    EXPECT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 3 of 11"));
    Click(IDC_PLAY);
    EXPECT_TRUE(Shows(IDC_PLAY, L"P&lay"));
}

TEST_F(MorvanePreviewUnderClicks, SelectingStepsAndPlaysThroughTheFrames) {
    ClickRow(2);
    ASSERT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 1 of 4"));
    EXPECT_EQ(TextOf(Control(IDC_DIRECTIONTEXT)), L"Direction 1 of 1");
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_NEXTDIRECTION))) << "one direction: nothing to step to";
    const std::multiset<uint32_t> first = WaitForFrameShown(hlthmana_[0]);

    Click(IDC_NEXTFRAME);
    ASSERT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 2 of 4"));
    EXPECT_NE(WaitForFrameShown(hlthmana_[1]), first);
    Click(IDC_PREVFRAME);
    Click(IDC_PREVFRAME);
    ASSERT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 4 of 4")) << "stepping back from the first frame goes to the last";

    Click(IDC_PLAY);
    ASSERT_TRUE(Shows(IDC_PLAY, L"&Stop"));
    // Played, the frames come round: from the fourth through the first to the second.
    ASSERT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 1 of 4"));
    ASSERT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 2 of 4"));
    Click(IDC_PLAY);
    ASSERT_TRUE(Shows(IDC_PLAY, L"P&lay"));
    // Stopped, the frame shown moves only when stepped.
    int stopped = 0;
    ASSERT_EQ(swscanf(TextOf(Control(IDC_FRAMETEXT)).c_str(), L"Frame %d of 4", &stopped), 1);
    Click(IDC_NEXTFRAME);
    EXPECT_TRUE(Shows(IDC_FRAMETEXT, L"Frame " + std::to_wstring(stopped % 4 + 1) + L" of 4"))
        << "the frames went on after Stop";
}

TEST_F(MorvanePreviewUnderClicks, FilesThatCanNotBeShownSaySoInThePreview) {
    ClickRow(2);
    Click(IDC_PLAY);
    ASSERT_TRUE(Shows(IDC_PLAY, L"&Stop"));
    // A file whose first frame can not be read: its frames are counted, the first says why.
    ClickRow(1);
    ASSERT_TRUE(Shows(IDC_PLAY, L"P&lay")) << "the new file did not stop the playing";
    EXPECT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 1 of 4"));
    EXPECT_TRUE(PumpUntil([&] { return !ScreenColoursOf(Control(IDC_PREVIEW)).contains(CheckerDark); }))
        << "the checkerboard stays without a frame to show";
    // A file that is no sprite: no frames at all.
    ClickRow(0);
    EXPECT_TRUE(Shows(IDC_FRAMETEXT, L""));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_PLAY)));
    ExpectNoOtherWindow();
    Click(IDC_NEXTFRAME);
    ClickRow(2);
    EXPECT_TRUE(Shows(IDC_FRAMETEXT, L"Frame 1 of 4")) << "the window stopped answering";
}

}  // namespace
