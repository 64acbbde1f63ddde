// The Convert command: palettes, what is written, the counts and the list afterwards.
#include "ConvertTestSupport.h"

#include "ConvertFile.h"
#include "OutputNames.h"

#include <commctrl.h>

#include <algorithm>

namespace {

using Texts = std::vector<std::string>;

std::vector<uint8_t> PcxPalette(const std::filesystem::path& pcx) {
    std::vector<uint8_t> bytes = ReadBytes(pcx);
    if (bytes.size() < 769)
        return {};
    return std::vector<uint8_t>(bytes.end() - 768, bytes.end());
}

std::vector<uint8_t> InRgbOrder(const Palette& palette) {
    Palette rgb = SwapRedAndBlue(palette);
    return std::vector<uint8_t>(rgb.begin(), rgb.end());
}

Palette TestPalette() {
    Palette palette;
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<uint8_t>(i * 7 + 3);
    return palette;
}

class ConvertRun : public ConvertWindowTest {
protected:
    // Two sheet files, listed and selected with Select All.
    void OpenWithTwoFiles() {
        WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(2));
        WriteDc6(WorkingFolder() / "b.dc6", SolidDc6(3));
        OpenWindow();
        Click(4);
    }
    std::wstring Summary() const { return prompts_.Messages.empty() ? L"" : prompts_.Messages.back().Text; }
};

TEST_F(ConvertRun, SelectAllWithTheBuiltInPaletteWritesEachSheetAndReportsTheCounts) {
    OpenWithTwoFiles();
    prompts_.MessageAnswers = {IDNO};
    PressConvert();

    ASSERT_EQ(prompts_.Messages.size(), 2u);
    EXPECT_EQ(prompts_.Messages[0].Text, L"Do you wish to load a custom palette?");
    EXPECT_EQ(prompts_.Messages[0].Type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(prompts_.Messages[0].Owner, Window());
    EXPECT_EQ(Summary(), L"Successfully converted 2 out of 2 files selected");
    EXPECT_EQ(prompts_.Messages[1].Caption, L"Morvane Converter");
    EXPECT_EQ(prompts_.Messages[1].Type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_TRUE(prompts_.FileRequests.empty());
    EXPECT_EQ(PcxPalette(Output("a.pcx")), InRgbOrder(BuiltInPalette()));
    EXPECT_TRUE(std::filesystem::exists(Output("b.pcx")));
    EXPECT_FALSE(dialog_->HoldsCustomPalette());
}

TEST_F(ConvertRun, AfterARunTheListIsReadAgainWithoutSelectionAndConvertIsDisabled) {
    OpenWithTwoFiles();
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    EXPECT_EQ(Column(1), (Texts{"Yes", "Yes"}));
    EXPECT_EQ(dialog_->CountSelected(), 0);
    EXPECT_FALSE(Enabled(IDOK));
    EXPECT_TRUE(Enabled(4));
    EXPECT_TRUE(IsWindowEnabled(Window())) << "the window is enabled again";
    EXPECT_EQ(Title(), L"Morvane Converter: (2 files)");
    EXPECT_EQ(dialog_->ProgressWindow(), nullptr);
}

TEST_F(ConvertRun, WindowOutputIsByteIdenticalToConvertFile) {
    const Dc6TestFile file = SolidDc6(3);
    WriteDc6(WorkingFolder() / "same.dc6", file);
    OpenWindow();
    Click(4);
    prompts_.MessageAnswers = {IDNO};
    PressConvert();

    ScratchDir direct;
    std::filesystem::create_directory(direct / "PCXFiles");
    const std::vector<uint8_t> bytes = file.Bytes();
    Dc6FileInfo info;
    ASSERT_TRUE(GetFileInfoDC6(bytes, {}, info));
    OutputBatch outputs;
    ASSERT_TRUE(ConvertFile(u"same.dc6", bytes, info, SwapRedAndBlue(BuiltInPalette()), {}, outputs,
                            direct.Path().u16string()));
    EXPECT_EQ(ReadBytes(Output("same.pcx")), ReadBytes(direct / "PCXFiles" / "same.pcx"));
}

TEST_F(ConvertRun, RealDccFilesAreListedAndConvertedByTheRulesOfDc6Files) {
    SKIP_WITHOUT_REAL_DATA();
    for (const char* name : {"gf_HPTRLITWLHTH.dcc", "gf_h2.dcc"})
        std::filesystem::copy_file(RealDataDir() / "dcc" / name, WorkingFolder() / name);
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(2));
    OpenWindow();
    EXPECT_EQ(Title(), L"Morvane Converter: (3 files)");
    Click(4);
    prompts_.MessageAnswers = {IDNO, IDYES};
    PressConvert();

    // The walk's 11 frames of its first direction, each with offsets, one file each; the
    // missile's 20 frames a direction are more than the window takes.
    ASSERT_EQ(prompts_.Messages.size(), 3u);
    EXPECT_EQ(prompts_.Messages[1].Text,
              L"DCC file can not be converted: it has 20 frames per direction, more than the 12 the converter "
              L"takes.\n\nDo you wish to receive further error notification?");
    EXPECT_EQ(Summary(), L"Successfully converted 2 out of 3 files selected");
    for (int frame = 0; frame < 11; ++frame)
        EXPECT_TRUE(std::filesystem::exists(Output("gf_HPTRLITWLHTH" + std::to_string(frame) + ".pcx"))) << frame;
    EXPECT_FALSE(std::filesystem::exists(Output("gf_HPTRLITWLHTH11.pcx")));
    EXPECT_EQ(Column(0), (Texts{"a.dc6", "gf_h2.dcc", "gf_HPTRLITWLHTH.dcc"}));
    EXPECT_EQ(Column(1), (Texts{"Yes", "No", "Yes"}));

    ScratchDir direct;
    std::filesystem::create_directory(direct / "PCXFiles");
    OutputBatch outputs;
    ASSERT_TRUE(ConvertSpriteFile(u"gf_HPTRLITWLHTH.dcc", ReadBytes(WorkingFolder() / "gf_HPTRLITWLHTH.dcc"),
                                  Dc6FrameScope::FirstDirection, SwapRedAndBlue(BuiltInPalette()), {}, outputs,
                                  direct.Path().u16string()));
    EXPECT_EQ(ReadBytes(Output("gf_HPTRLITWLHTH5.pcx")), ReadBytes(direct / "PCXFiles" / "gf_HPTRLITWLHTH5.pcx"));
}

TEST_F(ConvertRun, CustomPaletteOf768BytesIsUsedHeldAndLeavesTheWorkingFolder) {
    ScratchDir palettes;
    const Palette custom = TestPalette();
    WriteBytes(palettes / "act2.pal", std::vector<uint8_t>(custom.begin(), custom.end()));
    OpenWithTwoFiles();
    prompts_.MessageAnswers = {IDYES};
    prompts_.FileAnswers = {(palettes / "act2.pal").wstring()};
    PressConvert();

    ASSERT_EQ(prompts_.FileRequests.size(), 1u);
    const FileDialogRequest& request = prompts_.FileRequests[0];
    EXPECT_FALSE(request.Save);
    EXPECT_EQ(request.Title, L"Select the palette to load...");
    EXPECT_EQ(request.Filter, L"Palette Files (*.pal;*.pl2;*.act;*.dat)|*.pal;*.pl2;*.act;*.dat|All Files (*.*)|*.*||");
    EXPECT_EQ(request.DefaultExtension, L"pal");
    EXPECT_TRUE(request.InitialFileName.empty());
    for (DWORD flag : {OFN_FILEMUSTEXIST, OFN_HIDEREADONLY, OFN_NONETWORKBUTTON, OFN_LONGNAMES, OFN_NOCHANGEDIR})
        EXPECT_TRUE(request.Flags & flag) << std::hex << flag;

    EXPECT_EQ(Summary(), L"Successfully converted 2 out of 2 files selected");
    EXPECT_EQ(PcxPalette(Output("a.pcx")), InRgbOrder(custom));
    EXPECT_EQ(PcxPalette(Output("b.pcx")), InRgbOrder(custom));
    EXPECT_TRUE(dialog_->HoldsCustomPalette());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), WorkingFolder()));
}

TEST_F(ConvertRun, RefusedPaletteAndContinueUsesTheBuiltInPalette) {
    ScratchDir palettes;
    WriteBytes(palettes / "short.pal", std::vector<uint8_t>(767, 9));
    OpenWithTwoFiles();
    prompts_.MessageAnswers = {IDYES, IDYES};
    prompts_.FileAnswers = {(palettes / "short.pal").wstring()};
    PressConvert();

    ASSERT_EQ(prompts_.Messages.size(), 3u);
    EXPECT_EQ(prompts_.Messages[1].Text, L"Custom palette load was cancelled or failed!\n\nDo you wish to continue?");
    EXPECT_EQ(prompts_.Messages[1].Type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(Summary(), L"Successfully converted 2 out of 2 files selected");
    EXPECT_EQ(PcxPalette(Output("a.pcx")), InRgbOrder(BuiltInPalette()));
    EXPECT_FALSE(dialog_->HoldsCustomPalette());
}

TEST_F(ConvertRun, CancelledPaletteAndNoWritesNothingButStillSummarises) {
    OpenWithTwoFiles();
    bool progressShown = false;
    prompts_.WhileShown = [&](const ScriptedPrompts::ShownMessage&) { progressShown |= dialog_->ProgressWindow() != nullptr; };
    prompts_.MessageAnswers = {IDYES, IDNO};
    prompts_.FileAnswers = {std::nullopt};
    PressConvert();

    EXPECT_EQ(Summary(), L"Successfully converted 0 out of 2 files selected");
    EXPECT_FALSE(std::filesystem::exists(WorkingFolder() / "PCXFiles"));
    EXPECT_FALSE(progressShown);
    EXPECT_FALSE(Enabled(IDOK));
}

TEST_F(ConvertRun, AHeldPaletteIsReleasedWhenTheNextRunAsks) {
    ScratchDir palettes;
    const Palette custom = TestPalette();
    WriteBytes(palettes / "act2.pal", std::vector<uint8_t>(custom.begin(), custom.end()));
    OpenWithTwoFiles();
    prompts_.MessageAnswers = {IDYES};
    prompts_.FileAnswers = {(palettes / "act2.pal").wstring()};
    PressConvert();
    ASSERT_TRUE(dialog_->HoldsCustomPalette());

    Click(4);
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    EXPECT_FALSE(dialog_->HoldsCustomPalette());
    EXPECT_EQ(PcxPalette(Output("a.pcx")), InRgbOrder(BuiltInPalette()));
}

TEST_F(ConvertRun, FileOfFramesWithOffsetsWritesOneFilePerFrameAndCountsOnce) {
    WriteDc6(WorkingFolder() / "walk.dc6", SolidDc6(3, true));
    OpenWindow();
    Click(4);
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    for (const char* name : {"walk0.pcx", "walk1.pcx", "walk2.pcx"})
        EXPECT_TRUE(std::filesystem::exists(Output(name))) << name;
    EXPECT_EQ(Summary(), L"Successfully converted 1 out of 1 files selected");
    EXPECT_EQ(Column(1), (Texts{"Yes"})) << "its frames' files were written";
}

TEST_F(ConvertRun, UnreadableFileIsSkippedSilentlyAndOnlySelectedRowsAreConverted) {
    WriteBytes(WorkingFolder() / "a_empty.dc6", {});
    WriteDc6(WorkingFolder() / "b.dc6", SolidDc6(1));
    WriteDc6(WorkingFolder() / "c.dc6", SolidDc6(1));
    OpenWindow();
    ClickRows({0, 1});
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    ASSERT_EQ(prompts_.Messages.size(), 2u) << "no message for the empty file";
    EXPECT_EQ(Summary(), L"Successfully converted 1 out of 2 files selected");
    EXPECT_TRUE(std::filesystem::exists(Output("b.pcx")));
    EXPECT_FALSE(std::filesystem::exists(Output("c.pcx")));
    EXPECT_EQ(Column(1), (Texts{"No", "Yes", "No"}));
}

TEST_F(ConvertRun, ExistingOutputFolderIsUsedAsItIs) {
    std::filesystem::create_directory(WorkingFolder() / "PCXFiles");
    WriteBytes(Output("keep.txt"), {1, 2});
    OpenWithTwoFiles();
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    EXPECT_EQ(ReadBytes(Output("keep.txt")), (std::vector<uint8_t>{1, 2}));
    EXPECT_TRUE(std::filesystem::exists(Output("a.pcx")));
}

TEST_F(ConvertRun, ConvertCommandWhileTheButtonIsDisabledStartsNoRun) {
    OpenWithTwoFiles();
    ClickRows({});
    ASSERT_FALSE(Enabled(IDOK));
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(ConvertRun, UnwritableOutputFolderIsReportedOnceAndEndsTheRun) {
    WriteBytes(WorkingFolder() / "PCXFiles", {1});  // a file where the folder should be
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(3, true));
    WriteDc6(WorkingFolder() / "b.dc6", SolidDc6(12, true));
    OpenWindow();
    Click(4);
    prompts_.MessageAnswers = {IDNO};
    PressConvert();
    ASSERT_EQ(prompts_.Messages.size(), 3u) << "one notice, not one per frame";
    EXPECT_EQ(prompts_.Messages[1].Text.find(L"The folder PCXFiles could not be created or written to"), 0u);
    EXPECT_EQ(prompts_.Messages[1].Type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(Summary(), L"Successfully converted 0 out of 2 files selected");
}

}  // namespace
