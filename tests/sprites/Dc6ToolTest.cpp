#include "BatchConvert.h"
#include "CommandLine.h"
#include "Dc6Builder.h"
#include "Dc6Sprite.h"
#include "FrameImages.h"
#include "MessageText.h"
#include "OutputNames.h"
#include "PcxTestReader.h"
#include "SpriteCommands.h"
#include "TestSupport.h"
#include "ToolOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Parse(const std::vector<std::string>& args, ToolOptions& options) {
    std::string error;
    return ParseToolOptions(args, options, error);
}

// Every file under `folder` with its bytes.
std::map<std::string, std::vector<uint8_t>> FilesUnder(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), folder).generic_string()] = ReadBytes(entry.path());
    return files;
}

}  // namespace

TEST(ToolOptions, ReadsTopcxOptionsInBothForms) {
    ToolOptions options;
    ASSERT_TRUE(Parse({"topcx", "-o", "out", "--palette=pal.dat", "--jobs", "3", "--all-frames", "a.dc6", "b.dc6"},
                      options));
    EXPECT_EQ(options.command, ToolCommand::ToPcx);
    EXPECT_EQ(options.outputFolder, "out");
    EXPECT_EQ(options.palettePath, "pal.dat");
    EXPECT_EQ(options.jobs, 3u);
    EXPECT_TRUE(options.allFrames);
    EXPECT_EQ(options.files, (std::vector<std::string>{"a.dc6", "b.dc6"}));
    ASSERT_TRUE(Parse({"topcx", "--", "-odd.dc6"}, options));
    EXPECT_EQ(options.files, std::vector<std::string>{"-odd.dc6"});
}

TEST(ToolOptions, RefusesWrongUsage) {
    ToolOptions options;
    EXPECT_FALSE(Parse({}, options));
    EXPECT_FALSE(Parse({"convert", "a.dc6"}, options));
    EXPECT_FALSE(Parse({"topcx"}, options));
    EXPECT_FALSE(Parse({"topcx", "--jobs", "0", "a.dc6"}, options));
    EXPECT_FALSE(Parse({"topcx", "--jobs", "2x", "a.dc6"}, options));
    EXPECT_FALSE(Parse({"topcx", "a.dc6", "-o"}, options));
    EXPECT_FALSE(Parse({"topcx", "--frames", "a.dc6"}, options));
    EXPECT_FALSE(Parse({"info", "--all-frames", "a.dc6"}, options));
    ASSERT_TRUE(Parse({"topcx", "a.dc6", "--help"}, options));
    EXPECT_EQ(options.command, ToolCommand::ToPcx);
    EXPECT_TRUE(options.help);
}

TEST(ToolOptions, ReadsTheSpriteCommandsOptions) {
    ToolOptions options;
    ASSERT_TRUE(Parse({"pack", "-o", "out.dc6", "--palette", "act1.pal", "folder/"}, options));
    EXPECT_EQ(options.command, ToolCommand::Pack);
    EXPECT_EQ(options.outputFile, "out.dc6");
    EXPECT_EQ(options.files, std::vector<std::string>{"folder/"});
    ASSERT_TRUE(Parse({"fromimage", "--offset=-3,12", "a.png", "b.pcx"}, options));
    EXPECT_TRUE(options.offsetGiven);
    EXPECT_EQ(options.offsetX, -3);
    EXPECT_EQ(options.offsetY, 12);
    EXPECT_FALSE(options.pcxTransparentIndex.has_value());
    ASSERT_TRUE(Parse({"fromimage", "--transparent", "238", "a.pcx"}, options));
    EXPECT_EQ(options.pcxTransparentIndex, uint8_t{238});
    ASSERT_TRUE(Parse({"topng", "--jobs=2", "--all-frames", "a.dc6"}, options));
    EXPECT_EQ(options.command, ToolCommand::ToPng);
    EXPECT_EQ(options.jobs, 2u);
    ASSERT_TRUE(Parse({"unpack", "-o", "dir", "a.dc6"}, options));
    EXPECT_EQ(options.outputFolder, "dir");

    ASSERT_TRUE(Parse({"pack", "--alpha-threshold", "1", "folder"}, options));
    EXPECT_EQ(options.alphaThreshold, 1u);
    ASSERT_TRUE(Parse({"fromimage", "--alpha-threshold=255", "a.png"}, options));
    EXPECT_EQ(options.alphaThreshold, 255u);

    EXPECT_FALSE(Parse({"pack", "--alpha-threshold", "0", "folder"}, options));
    EXPECT_FALSE(Parse({"fromimage", "--alpha-threshold", "256", "a.png"}, options));
    EXPECT_FALSE(Parse({"topng", "--alpha-threshold", "9", "a.dc6"}, options));
    EXPECT_FALSE(Parse({"fromimage", "--transparent", "256", "a.pcx"}, options));
    EXPECT_FALSE(Parse({"pack", "--transparent", "0", "folder"}, options));
    EXPECT_FALSE(Parse({"pack", "a", "b"}, options));
    EXPECT_FALSE(Parse({"fromimage", "--offset", "3", "a.png"}, options));
    EXPECT_FALSE(Parse({"unpack", "--jobs", "2", "a.dc6"}, options));
    EXPECT_FALSE(Parse({"pack"}, options));
}

TEST(ConvertBatch, SaysWhenAllFramesWouldConvertARefusedFileWithoutTheWindowsQuestion) {
    ScratchDir inputs;
    ScratchDir out;
    Dc6TestFile font;
    for (int i = 0; i < 13; ++i)
        font.frames.push_back({1, 1, 0, 0, SolidFrameCode(1, 1, 1)});
    WriteBytes(inputs / "font.dc6", font.Bytes());
    BatchRequest request;
    request.files = {(inputs / "font.dc6").string()};
    request.outputFolder = out.Path().string();
    std::vector<std::string> said;
    EXPECT_EQ(ConvertBatch(request, [&said](const std::string&, const std::string& m) { said.push_back(m); }), 0u);
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(FirstParagraph(said[0]), "DC6 file has invalid number of blocks and can not be converted!");
    EXPECT_EQ(said[1], "has more than 12 frames per direction: --all-frames converts it");
}

TEST(ConvertBatch, AnOutputFolderThatCannotBeMadeIsReportedOnceAndStopsTheRun) {
    ScratchDir inputs;
    Dc6TestFile file;
    file.frames.push_back({2, 2, 1, 1, SolidFrameCode(2, 2, 1)});
    WriteBytes(inputs / "a.dc6", file.Bytes());
    WriteBytes(inputs / "b.dc6", file.Bytes());
    WriteBytes(inputs / "blocker", {1});
    BatchRequest request;
    request.files = {(inputs / "a.dc6").string(), (inputs / "b.dc6").string()};
    request.outputFolder = (inputs / "blocker").string();  // a file, so no folder can be made in it
    std::vector<std::string> said;
    EXPECT_EQ(ConvertBatch(request, [&said](const std::string&, const std::string& m) { said.push_back(m); }), 0u);
    EXPECT_EQ(said, std::vector<std::string>{"the output folder can not be made; nothing is converted"});
}

TEST(ConvertBatch, OutputAndMessagesAreTheSameWhateverTheJobs) {
    ScratchDir inputs;
    std::vector<std::string> files;
    for (int i = 0; i < 9; ++i) {
        Dc6TestFile file;
        for (int f = 0; f < 1 + i % 3; ++f)
            file.frames.push_back({8 + i, 4, i % 2, 0, SolidFrameCode(8 + i, 4, static_cast<uint8_t>(i * 20 + f))});
        // Every third file holds a run past its width: one notice each.
        if (i % 3 == 0)
            file.frames[0].coded.insert(file.frames[0].coded.begin(), {0x81, 0x81});
        const std::string path = (inputs / ("f" + std::to_string(i) + ".dc6")).string();
        WriteBytes(path, file.Bytes());
        files.push_back(path);
    }
    files.push_back((inputs / "missing.dc6").string());

    std::vector<std::map<std::string, std::vector<uint8_t>>> outputs;
    std::vector<std::vector<std::string>> messages;
    for (unsigned jobs : {1u, 2u, 5u}) {
        ScratchDir out;
        BatchRequest request;
        request.files = files;
        request.outputFolder = out.Path().string();
        request.rgbPalette = SwapRedAndBlue(BuiltInPalette());
        request.jobs = jobs;
        std::vector<std::string> said;
        const size_t converted = ConvertBatch(request, [&said](const std::string& file, const std::string& message) {
            said.push_back(std::filesystem::path(file).filename().string() + ": " + message);
        });
        EXPECT_EQ(converted, 9u) << jobs;
        outputs.push_back(FilesUnder(out.Path()));
        messages.push_back(said);
    }
    EXPECT_EQ(outputs[0].size(), 13u) << "sheets for the 5 even files, a file per frame for the 8 frames of the odd ones";
    EXPECT_TRUE(outputs[0].count("PCXFiles/f1" "0.pcx"));
    EXPECT_TRUE(outputs[0].count("PCXFiles/f2.pcx"));
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_EQ(outputs[2], outputs[0]);
    ASSERT_FALSE(messages[0].empty());
    EXPECT_EQ(messages[0].back(), "missing.dc6: can not be read (missing, unreadable or empty)");
    EXPECT_EQ(messages[1], messages[0]);
    EXPECT_EQ(messages[2], messages[0]);
}

TEST(ConvertBatch, ConvertsOnlyTheFirstOfFilesSharingAnOutputName) {
    ScratchDir inputs;
    ScratchDir out;
    std::filesystem::create_directories(inputs / "a");
    Dc6TestFile file;
    file.frames.push_back({2, 2, 0, 0, SolidFrameCode(2, 2, 1)});
    WriteBytes(inputs / "x.dc6", file.Bytes());
    WriteBytes(inputs / "a" / "X.DC6", file.Bytes());
    BatchRequest request;
    request.files = {(inputs / "x.dc6").string(), (inputs / "a" / "X.DC6").string()};
    request.outputFolder = out.Path().string();
    request.jobs = 2;
    std::vector<std::string> said;
    EXPECT_EQ(ConvertBatch(request, [&said](const std::string&, const std::string& m) { said.push_back(m); }), 1u);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("is refused: its output x is also an output of"), std::string::npos) << said[0];
}

TEST(ConvertBatch, RefusesAFileWhoseSheetMeetsAnotherFilesFrameNamesWhateverTheJobs) {
    ScratchDir inputs;
    Dc6TestFile perFrame;
    perFrame.frames.push_back({2, 2, 1, 1, SolidFrameCode(2, 2, 1)});
    perFrame.frames.push_back({2, 2, 1, 1, SolidFrameCode(2, 2, 2)});
    Dc6TestFile sheet;
    sheet.frames.push_back({2, 2, 0, 0, SolidFrameCode(2, 2, 3)});
    WriteBytes(inputs / "a.dc6", perFrame.Bytes());
    WriteBytes(inputs / "A1.dc6", sheet.Bytes());
    for (unsigned jobs : {1u, 2u, 8u}) {
        ScratchDir out;
        BatchRequest request;
        request.files = {(inputs / "a.dc6").string(), (inputs / "A1.dc6").string()};
        request.outputFolder = out.Path().string();
        request.jobs = jobs;
        std::vector<std::string> said;
        EXPECT_EQ(ConvertBatch(request, [&said](const std::string&, const std::string& m) { said.push_back(m); }), 1u);
        ASSERT_EQ(said.size(), 1u) << "jobs " << jobs;
        EXPECT_NE(said[0].find("its output a1 is also an output of"), std::string::npos) << said[0];
        const auto files = FilesUnder(out.Path());
        EXPECT_EQ(files.size(), 2u) << "a0.pcx and a1.pcx of a.dc6 only";
        EXPECT_EQ(files.count("PCXFiles/a1.pcx"), 1u);
    }
}

TEST(TopcxBackgroundIndex, IsTheMostFrequentOfTheGamesBackgroundBytes) {
    struct Case {
        std::vector<uint8_t> pixels;
        std::optional<uint8_t> background;
    };
    for (const Case& c : {Case{{0, 205, 205, 238, 7}, 205}, Case{{0, 0, 205, 238, 7}, 0},
                          Case{{205, 238, 7}, 238}, Case{{1, 7, 7}, std::nullopt}}) {
        Image image;
        MakeImage(static_cast<int64_t>(c.pixels.size()), 1, 0, image);
        image.pixels = c.pixels;
        EXPECT_EQ(TopcxBackgroundIndex(image), c.background) << ::testing::PrintToString(c.pixels);
    }
}

TEST(FromImage, TakesThePcxBackgroundTopcxWroteAsTransparentOrTheIndexGiven) {
    SKIP_WITHOUT_REAL_DATA();
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    struct Case {
        std::string name;  // header backgrounds 238, 205, 0
        std::optional<uint8_t> transparent;
    };
    for (const Case& c : {Case{"gf_inv2ax", {}}, Case{"sh_hlthmana", {}}, Case{"gf_OYTRLITTNHTH", {}},
                          Case{"sh_hlthmana", 1}}) {
        const std::filesystem::path dc6 = RealDataDir() / "dc6" / (c.name + ".dc6");
        Dc6Sprite sprite;
        std::string problem;
        ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(dc6), {}, sprite, problem)) << problem;
        ScratchDir out;
        BatchRequest request;
        request.files = {dc6.string()};
        request.outputFolder = out.Path().string();
        request.rgbPalette = rgb;
        request.scope = Dc6FrameScope::AllFrames;
        ASSERT_EQ(ConvertBatch(request, [](const std::string&, const std::string&) {}), 1u) << c.name;
        const std::filesystem::path pcx = out / "PCXFiles" / (c.name + "0.pcx");
        SaveFuzzSeed("ImageReadFuzz", "topcx-" + c.name + ".pcx", ReadBytes(pcx));

        ToolOptions options;
        options.files = {pcx.string()};
        options.outputFile = (out / "back.dc6").string();
        options.pcxTransparentIndex = c.transparent;
        std::ostringstream messages;
        ASSERT_TRUE(RunFromImage(options, rgb, messages)) << messages.str();
        Dc6Sprite back;
        ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(out / "back.dc6"), {}, back, problem)) << problem;
        std::vector<uint8_t> expected = sprite.frames[0].opaque;
        if (c.transparent) {
            expected.clear();
            for (uint8_t index : ReadPcxFileForTest(pcx).pixels)
                expected.push_back(index != *c.transparent);
        }
        EXPECT_EQ(back.frames[0].opaque, expected) << c.name << (c.transparent ? " with --transparent" : "");
    }
}

#ifdef _WIN32
TEST(ExpandedArguments, WindowsBuildsExpandWildcardPatternsThemselves) {
    ScratchDir dir;
    WriteBytes(dir / "b.dc6", {1});
    WriteBytes(dir / "a.dc6", {1});
    WriteBytes(dir / "c.pcx", {1});
    WriteBytes(dir.Path() / L"\uC544\uC774\uD15C.dc6", {1});  // outside the code page: comes back as UTF-8
    const std::string pattern = (dir / "*.dc6").string();
    const std::string none = (dir / "*.xyz").string();
    EXPECT_EQ(ExpandedArguments({"info", pattern, none}),
              (std::vector<std::string>{"info", (dir / "a.dc6").string(), (dir / "b.dc6").string(),
                                        (dir / "").string() + "\xEC\x95\x84\xEC\x9D\xB4\xED\x85\x9C.dc6", none}));
}
#endif
