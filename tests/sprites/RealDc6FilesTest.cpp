// The game's and mods' own sprite files, damaged ones included.
#include "BatchConvert.h"
#include "ConvertFile.h"
#include "Dc6Report.h"
#include "FileIo.h"
#include "PcxTestReader.h"
#include "TestSupport.h"
#include "Utf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path Dc6Dir() {
    return RealDataDir() / "dc6";
}

std::vector<uint8_t> RealFile(const std::string& name) {
    return ReadBytes(Dc6Dir() / name);
}

struct RealRun {
    ScratchDir dir;
    OutputBatch outputs;
    bool checked = false;
    bool converted = false;
    std::vector<std::string> errors;
    std::vector<std::string> notices;

    explicit RealRun(const std::string& name, Dc6FrameScope scope = Dc6FrameScope::FirstDirection)
        : RealRun(name, RealFile(name), scope) {}
    RealRun(const std::string& name, const std::vector<uint8_t>& bytes,
            Dc6FrameScope scope = Dc6FrameScope::FirstDirection) {
        SaveFuzzSeed("Dc6Fuzz", "real-" + name, bytes);
        std::filesystem::create_directories(dir / "PCXFiles");
        const Dc6Hooks hooks{[this](const std::string& t) { errors.push_back(t); },
                             [this](const std::string& t) { notices.push_back(t); }};
        Dc6FileInfo info;
        checked = GetFileInfoDC6(bytes, hooks, info, scope);
        if (checked)
            converted = ConvertFile(Utf8ToUtf16(name), bytes, info, SwapRedAndBlue(BuiltInPalette()), hooks,
                                    outputs, dir.Path().u16string());
    }

    PcxTestImage Read(const std::string& name) const { return ReadPcxFileForTest(dir / "PCXFiles" / name); }
    size_t OutputCount() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir / "PCXFiles"),
                                                 std::filesystem::directory_iterator()));
    }
};

}  // namespace

TEST(RealDc6Files, EveryFileConvertsWithAllFramesWhereItHasMoreThanTwelve) {
    SKIP_WITHOUT_REAL_DATA();
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Dc6Dir())) {
        const std::string name = entry.path().filename().string();
        RealRun run(name);
        if (!run.checked) {
            ASSERT_EQ(run.errors.size(), 1u) << name;
            EXPECT_EQ(run.errors[0].rfind("DC6 file has invalid number of blocks", 0), 0u) << name;
            RealRun all(name, Dc6FrameScope::AllFrames);
            EXPECT_TRUE(all.converted) << name;
        } else {
            EXPECT_TRUE(run.converted) << name;
        }
        ++files;
    }
    EXPECT_EQ(files, 14u);
}

TEST(RealDc6Files, PanelTilesFormOneSheet) {
    SKIP_WITHOUT_REAL_DATA();
    RealRun run("sh_invchar6.dc6");
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.OutputCount(), 1u);
    const PcxTestImage sheet = run.Read("sh_invchar6.pcx");
    ASSERT_TRUE(sheet.valid);
    // Rows of a 256-wide tile and a 64-wide one: 256, 176, 256 and 176 high.
    EXPECT_EQ(sheet.width, 320);
    EXPECT_EQ(sheet.height, 864);
    EXPECT_TRUE(run.notices.empty());

    RealRun loading("sh_loadingscreen.dc6");
    const PcxTestImage strip = loading.Read("sh_loadingscreen.pcx");
    EXPECT_EQ(strip.width, 2560);
    EXPECT_EQ(strip.height, 256);
}

TEST(RealDc6Files, FramesWithOffsetsBecomeFilesOfTheirOwn) {
    SKIP_WITHOUT_REAL_DATA();
    RealRun border("sh_800borderframe.dc6");
    EXPECT_EQ(border.OutputCount(), 10u);
    EXPECT_EQ(border.Read("sh_800borderframe7.pcx").width, 81);
    RealRun monster("gf_OYTRLITTNHTH.dc6");
    EXPECT_EQ(monster.OutputCount(), 12u);
    EXPECT_EQ(monster.Read("gf_OYTRLITTNHTH11.pcx").height, 66);
}

TEST(RealDc6Files, FileEndingRightAfterItsLastFrameDecodesWhole) {
    SKIP_WITHOUT_REAL_DATA();
    RealRun run("gf_succmissblack.dc6", Dc6FrameScope::AllFrames);
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.OutputCount(), 16u);
    EXPECT_TRUE(run.notices.empty());
    const PcxTestImage last = run.Read("gf_succmissblack15.pcx");
    ASSERT_TRUE(last.valid);
    EXPECT_EQ(last.width, 95);
    EXPECT_EQ(last.height, 73);
}

TEST(RealDc6Files, DamagedFrameGivesOneNoticeAndIsWrittenAllTheSame) {
    SKIP_WITHOUT_REAL_DATA();
    RealRun run("gf_A1L53.dc6");
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.notices, (std::vector<std::string>{"Frame 1: 35 run(s) past the frame's width were cut at its edge."}));
    const PcxTestImage sheet = run.Read("gf_A1L53.pcx");
    ASSERT_TRUE(sheet.valid);
    // Frame 1 continues frame 0's 256-wide row.
    EXPECT_EQ(sheet.width, 400);
    EXPECT_EQ(sheet.height, 41);
    // Frame 1 codes 40 of its 41 rows: its top row keeps the background.
    for (int x = 256; x < 400; ++x)
        ASSERT_EQ(sheet.At(x, 0), 0xEE) << x;
}

TEST(RealDc6Files, FramePointerIntoTheFileHeaderSkipsThatFrame) {
    SKIP_WITHOUT_REAL_DATA();
    RealRun run("ap_redbutton.DC6");
    ASSERT_TRUE(run.converted);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_EQ(run.notices[0].rfind("Frame 0 is skipped", 0), 0u) << run.notices[0];
    EXPECT_EQ(run.OutputCount(), 3u);
    EXPECT_EQ(run.Read("ap_redbutton1.pcx").width, 48);
}

TEST(RealDc6Files, TransparentFramesAreAllBackground) {
    SKIP_WITHOUT_REAL_DATA();
    RealRun run("mf_A1L19.DC6");
    const PcxTestImage sheet = run.Read("mf_A1L19.pcx");
    ASSERT_TRUE(sheet.valid);
    EXPECT_EQ(sheet.height, 52);
    EXPECT_EQ(sheet.pixels, std::vector<uint8_t>(118 * 52, 0xCD));
}

TEST(RealDc6Files, SmallestFilesConvert) {
    SKIP_WITHOUT_REAL_DATA();
    RealRun armor("sh_inv_armor.dc6");
    const PcxTestImage pixel = armor.Read("sh_inv_armor.pcx");
    ASSERT_TRUE(pixel.valid);
    EXPECT_EQ(pixel.width, 1);
    EXPECT_EQ(pixel.height, 1);
    RealRun icon("gf_inv2ax.dc6");
    EXPECT_TRUE(icon.notices.empty()) << "the extra bytes lie after the top row";
    EXPECT_EQ(icon.Read("gf_inv2ax.pcx").height, 84);
}

TEST(RealDc6Files, EveryTruncationOfARealFileIsRefusedOrDecodedFromWhatIsThere) {
    SKIP_WITHOUT_REAL_DATA();
    // One frame: its header at 28, its 163 coded bytes up to 223, then three terminator bytes.
    const std::vector<uint8_t> whole = RealFile("gf_invtok2_dgr.dc6");
    ASSERT_EQ(whole.size(), 226u);
    for (size_t size = 0; size <= whole.size(); ++size) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        Dc6FileInfo info;
        const bool checked = GetFileInfoDC6(cut, {}, info);
        EXPECT_EQ(checked, size >= 28) << size;
        if (!checked)
            continue;
        std::vector<std::string> notices;
        Image sheet;
        const bool rendered = RenderSheet(cut, info, {nullptr, [&](const std::string& t) { notices.push_back(t); }}, sheet);
        // Without its whole header (60 bytes) the frame is skipped; with part of its coded
        // data it is decoded from what is there, with a notice that it was cut.
        EXPECT_EQ(rendered, size >= 60) << size;
        ASSERT_EQ(notices.size(), size >= 223 ? 0u : 1u) << size;
        if (rendered && size < 223) {
            EXPECT_NE(notices[0].find("run past the end of the file"), std::string::npos) << notices[0];
        }
    }
}

// Frame 0's length field damaged: the frame is read from the data there are, as it was, and said so.
TEST(RealDc6Files, ADamagedLengthFieldDecodesTheFrameWithANotice) {
    SKIP_WITHOUT_REAL_DATA();
    const RealRun whole("sh_hlthmana.dc6");
    for (const auto& [field, reads] : {std::pair{0xFFFFFFF0u, "-16"}, {0x80000000u, "-2147483648"}}) {
        std::vector<uint8_t> bytes = RealFile("sh_hlthmana.dc6");
        for (size_t i = 0; i < 4; ++i)
            bytes[0x44 + i] = static_cast<uint8_t>(field >> (8 * i));
        const RealRun damaged("sh_hlthmana.dc6", bytes);
        ASSERT_TRUE(damaged.converted);
        EXPECT_EQ(damaged.notices, (std::vector<std::string>{"Frame 0: its length field reads " + std::string(reads) +
                                                             ", so its rows are read from the bytes after its header."}));
        EXPECT_EQ(damaged.Read("sh_hlthmana0.pcx").pixels, whole.Read("sh_hlthmana0.pcx").pixels);
    }
}

TEST(RealDc6Files, InfoNamesWhatIsWrongAndCallsOnlyDamagedFilesDamaged) {
    SKIP_WITHOUT_REAL_DATA();
    std::ostringstream damaged;
    EXPECT_FALSE(DescribeDc6("gf_A1L53.dc6", RealFile("gf_A1L53.dc6"), damaged));
    EXPECT_NE(damaged.str().find("40 of 41 lines coded"), std::string::npos) << damaged.str();
    EXPECT_NE(damaged.str().find("problem: Frame 1: 35 run(s) past the frame's width"), std::string::npos)
        << damaged.str();

    std::ostringstream pointer;
    EXPECT_FALSE(DescribeDc6("ap_redbutton.DC6", RealFile("ap_redbutton.DC6"), pointer));
    EXPECT_NE(pointer.str().find("the header lies inside the file header"), std::string::npos) << pointer.str();

    std::ostringstream font;
    EXPECT_TRUE(DescribeDc6("sh_font16.dc6", RealFile("sh_font16.dc6"), font));
    EXPECT_NE(font.str().find("frame 94 at"), std::string::npos);
    EXPECT_NE(font.str().find("Morvane Convert and dc6tool topcx refuse the file; topcx --all-frames converts it"),
              std::string::npos);

    std::ostringstream quirky;
    EXPECT_TRUE(DescribeDc6("gf_succmissblack.dc6", RealFile("gf_succmissblack.dc6"), quirky)) << quirky.str();
}
