// The output choice: PCX images by default, or indexed PNGs into PNGFiles; and the palette
// files of every format the palette dialog offers.
#include "ConvertTestSupport.h"

#include <string>

namespace {

class ConvertOutputChoice : public ConvertWindowTest {
protected:
    bool Checked(int id) const { return IsDlgButtonChecked(Window(), id) == BST_CHECKED; }
    void Choose(int id) {
        CheckRadioButton(Window(), 1004, 1005, id);
        Click(id);
    }
    void ConvertAllWithBuiltInPalette() {
        Click(4);
        prompts_.MessageAnswers = {IDNO};
        PressConvert();
    }
};

TEST_F(ConvertOutputChoice, PcxIsTheDefault) {
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(2));
    OpenWindow();
    EXPECT_TRUE(Checked(1004));
    EXPECT_FALSE(Checked(1005));
    ConvertAllWithBuiltInPalette();
    EXPECT_TRUE(std::filesystem::exists(Output("a.pcx")));
    EXPECT_FALSE(std::filesystem::exists(WorkingFolder() / "PNGFiles"));
}

TEST_F(ConvertOutputChoice, PngWritesIndexedPngsIntoPngFilesAndTheColumnFollowsTheChoice) {
    WriteDc6(WorkingFolder() / "sheet.dc6", SolidDc6(2));
    WriteDc6(WorkingFolder() / "frames.dc6", SolidDc6(2, true));
    OpenWindow();
    Choose(1005);
    ConvertAllWithBuiltInPalette();

    EXPECT_EQ(prompts_.Messages.back().Text, L"Successfully converted 2 out of 2 files selected");
    const std::filesystem::path png = WorkingFolder() / "PNGFiles";
    for (const char* name : {"sheet.png", "frames0.png", "frames1.png"}) {
        const std::vector<uint8_t> bytes = ReadBytes(png / name);
        ASSERT_GE(bytes.size(), 26u) << name;
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
                  (std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
            << name;
        EXPECT_EQ(bytes[24], 8) << name << ": 8 bits";
        EXPECT_EQ(bytes[25], 3) << name << ": indexed colour";
    }
    EXPECT_FALSE(std::filesystem::exists(WorkingFolder() / "PCXFiles"));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Yes", "Yes"}));  // frames.dc6, sheet.dc6
    Choose(1004);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"No", "No"}));
}

TEST_F(ConvertOutputChoice, ThePaletteDialogTakesAJascPalette) {
    ScratchDir palettes;
    std::string jasc = "JASC-PAL\r\n0100\r\n256\r\n";
    for (int i = 0; i < 256; ++i)
        jasc += std::to_string(i) + " 0 " + std::to_string(255 - i) + "\r\n";
    WriteBytes(palettes / "ramp.pal", std::vector<uint8_t>(jasc.begin(), jasc.end()));
    WriteDc6(WorkingFolder() / "a.dc6", SolidDc6(1));
    OpenWindow();
    Click(4);
    prompts_.MessageAnswers = {IDYES};
    prompts_.FileAnswers = {(palettes / "ramp.pal").wstring()};
    PressConvert();

    EXPECT_EQ(prompts_.Messages.back().Text, L"Successfully converted 1 out of 1 files selected");
    const std::vector<uint8_t> pcx = ReadBytes(Output("a.pcx"));
    ASSERT_GE(pcx.size(), 769u);
    // Entry 200 of the PCX palette, red, green, blue.
    const size_t entry = pcx.size() - 768 + 3 * 200;
    EXPECT_EQ((std::vector<uint8_t>{pcx[entry], pcx[entry + 1], pcx[entry + 2]}), (std::vector<uint8_t>{200, 0, 55}));
}

}  // namespace
