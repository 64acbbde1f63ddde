#include "ConvertFile.h"

#include "Dc6Builder.h"
#include "OutputNames.h"
#include "PcxTestReader.h"
#include "SheetLayout.h"
#include "TestSupport.h"
#include "Utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Converts `file` as the batch run does, into PCXFiles of a scratch folder.
struct ConversionRun {
    ScratchDir dir;
    OutputBatch outputs;
    bool converted = false;
    std::vector<std::string> notices;

    ConversionRun(const std::string& name, const std::vector<uint8_t>& bytes,
                  Dc6FrameScope scope = Dc6FrameScope::FirstDirection, bool makeOutputFolder = true) {
        if (makeOutputFolder)
            std::filesystem::create_directories(dir / "PCXFiles");
        Run(name, bytes, scope);
    }
    ConversionRun(const std::string& name, const Dc6TestFile& file, Dc6FrameScope scope = Dc6FrameScope::FirstDirection,
                  bool makeOutputFolder = true)
        : ConversionRun(name, file.Bytes(), scope, makeOutputFolder) {}

    void Run(const std::string& name, const std::vector<uint8_t>& bytes, Dc6FrameScope scope) {
        const Dc6Hooks hooks{[this](const std::string& t) { notices.push_back("error: " + t); },
                             [this](const std::string& t) { notices.push_back(t); }};
        Dc6FileInfo info;
        SaveFuzzSeed("Dc6Fuzz", "convert-" + name, bytes);
        if (GetFileInfoDC6(bytes, hooks, info, scope))
            converted = ConvertFile(Utf8ToUtf16(name), bytes, info, SwapRedAndBlue(BuiltInPalette()), hooks,
                                    outputs, dir.Path().u16string());
    }

    std::vector<std::string> Outputs() const {
        std::vector<std::string> names;
        if (std::filesystem::exists(dir / "PCXFiles"))
            for (const auto& entry : std::filesystem::directory_iterator(dir / "PCXFiles"))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    PcxTestImage Read(const std::string& name) const { return ReadPcxFileForTest(dir / "PCXFiles" / name); }
};

Dc6TestFrame Solid(int32_t width, int32_t height, uint8_t index, int32_t offsetX = 0) {
    return {width, height, offsetX, 0, SolidFrameCode(width, height, index)};
}

}  // namespace

TEST(StripExtension, CutsAtTheLastFullStopOnly) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"a.b.dc6", "a.b"}, {"name.DC6", "name"}, {"name", "name"}, {".dc6", ".dc6"},
        {"x.", "x"},        {"dir.d\\file", "dir.d\\file"},       {"dir.d/file", "dir.d/file"}, {"", ""}};
    for (const auto& [name, expected] : cases) {
        std::string cut = name;
        StripExtension(cut);
        EXPECT_EQ(cut, expected) << name;
    }
}

TEST(OutputNames, SheetAndFrameNamesInPcxFiles) {
    const std::u16string sep(1, PathSeparator);
    EXPECT_EQ(SheetOutputPath(u"", u"name"), u"PCXFiles" + sep + u"name.pcx");
    EXPECT_EQ(FrameOutputPath(u"", u"x.y", 10), u"PCXFiles" + sep + u"x.y10.pcx");
    EXPECT_EQ(SheetOutputPath(u"out", u"a"), u"out" + sep + u"PCXFiles" + sep + u"a.pcx");
    EXPECT_EQ(SheetOutputPath(u"out/", u"a"), u"out/PCXFiles" + sep + u"a.pcx");
}

TEST(SheetLayout, ContinuesRowsAfter256WideFramesBottomAligned) {
    const std::vector<FrameSize> frames{{256, 256, true}, {256, 256, true}, {128, 256, true},
                                        {256, 224, true}, {256, 224, true}, {128, 224, true}};
    const SheetLayout layout = LayOutSheet(frames);
    EXPECT_EQ(layout.width, 640);
    EXPECT_EQ(layout.height, 480);
    const std::vector<std::pair<int64_t, int64_t>> expected{{0, 0}, {256, 0}, {512, 0}, {0, 256}, {256, 256}, {512, 256}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(layout.placements[i].x, expected[i].first) << i;
        EXPECT_EQ(layout.placements[i].y, expected[i].second) << i;
    }
    // A shorter frame continuing a row sits at its bottom.
    const SheetLayout shorter = LayOutSheet(std::vector<FrameSize>{{256, 100, true}, {50, 40, true}});
    EXPECT_EQ(shorter.placements[1].y, 60);
    EXPECT_EQ(shorter.height, 100);
}

TEST(SheetLayout, IsAsWideAsItsWidestRow) {
    const SheetLayout layout = LayOutSheet(std::vector<FrameSize>{{256, 10, true}, {256, 10, true}, {100, 10, true}, {50, 5, true}});
    EXPECT_EQ(layout.width, 612);
    EXPECT_EQ(layout.height, 15);
    EXPECT_EQ(layout.placements[3].x, 0);
    EXPECT_EQ(layout.placements[3].y, 10);
}

TEST(SheetLayout, SkippedFramesTakeNoPlace) {
    const SheetLayout layout = LayOutSheet(std::vector<FrameSize>{{256, 10, true}, {0, 0, false}, {30, 10, true}});
    EXPECT_EQ(layout.placements[2].x, 256) << "the frame still continues the 256-wide row";
    EXPECT_EQ(layout.width, 286);
    EXPECT_EQ(layout.height, 10);
}

TEST(ConvertFile, FramesWithoutOffsetsGoOntoOneSheetStackedInOrder) {
    Dc6TestFile file;
    file.terminators = {0xEE, 0xEE, 0xEE, 0x09};
    for (int i = 0; i < 4; ++i)
        file.frames.push_back(Solid(100, 3 + i, static_cast<uint8_t>(0xC0 + i)));
    ConversionRun run("name.dc6", file);
    EXPECT_TRUE(run.converted);
    ASSERT_EQ(run.Outputs(), std::vector<std::string>{"name.pcx"});
    const PcxTestImage sheet = run.Read("name.pcx");
    ASSERT_TRUE(sheet.valid);
    EXPECT_EQ(sheet.width, 100);
    EXPECT_EQ(sheet.height, 3 + 4 + 5 + 6);
    EXPECT_EQ(sheet.At(0, 0), 0xC0);
    EXPECT_EQ(sheet.At(99, 2), 0xC0);
    EXPECT_EQ(sheet.At(50, 3), 0xC1);
    EXPECT_EQ(sheet.At(50, 7), 0xC2);
    EXPECT_EQ(sheet.At(0, 17), 0xC3);
    EXPECT_TRUE(run.notices.empty());
}

TEST(ConvertFile, SheetPixelsNotPaintedCarryTheBackgroundIndex) {
    Dc6TestFile file;
    file.terminators = {0xEE, 0xEE, 0xEE, 0x09};
    file.frames.push_back(Solid(256, 4, 1));
    file.frames.push_back(Solid(10, 2, 2));
    file.frames.push_back({3, 2, 0, 0, {}});  // no coded data: a background rectangle
    ConversionRun run("bg.dc6", file);
    const PcxTestImage sheet = run.Read("bg.pcx");
    ASSERT_TRUE(sheet.valid);
    EXPECT_EQ(sheet.width, 266);
    EXPECT_EQ(sheet.height, 6);
    EXPECT_EQ(sheet.At(256, 1), 0x09) << "above the shorter frame of the row";
    EXPECT_EQ(sheet.At(256, 2), 2);
    EXPECT_EQ(sheet.At(0, 4), 0x09);
    EXPECT_EQ(sheet.At(100, 5), 0x09);
}

TEST(ConvertFile, WiderEarlierRowsDoNotSpillIntoTheRowsBelow) {
    Dc6TestFile file;
    file.frames = {Solid(256, 2, 1), Solid(256, 2, 2), Solid(20, 2, 3)};
    ConversionRun run("wide.dc6", file);
    const PcxTestImage sheet = run.Read("wide.pcx");
    ASSERT_TRUE(sheet.valid);
    EXPECT_EQ(sheet.width, 532);
    EXPECT_EQ(sheet.height, 2);
    EXPECT_EQ(sheet.At(531, 1), 3);
}

TEST(ConvertFile, TallerFramesContinuingARowOverlapTheRowAboveButNeverLeaveTheSheet) {
    Dc6TestFile file;
    file.frames = {Solid(256, 2, 1), Solid(10, 5, 2), Solid(256, 4, 3), Solid(10, 5, 4)};
    ConversionRun run("tall.dc6", file);
    EXPECT_TRUE(run.converted);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_EQ(run.notices[0].rfind("Frame 1 is skipped: it is taller", 0), 0u) << run.notices[0];
    const PcxTestImage sheet = run.Read("tall.pcx");
    ASSERT_TRUE(sheet.valid);
    EXPECT_EQ(sheet.width, 266);
    EXPECT_EQ(sheet.height, 6);
    EXPECT_EQ(sheet.At(256, 0), 0xEE) << "frame 1 is not painted";
    EXPECT_EQ(sheet.At(256, 1), 4) << "frame 3 reaches a row up into the first row";
    EXPECT_EQ(sheet.At(0, 2), 3);
}

TEST(ConvertFile, AnyFrameWithOffsetsGivesOneFilePerFrame) {
    Dc6TestFile file;
    file.frames = {Solid(4, 2, 0x11), Solid(3, 5, 0x22, -7), Solid(2, 1, 0x33)};
    ConversionRun run("name.dc6", file);
    EXPECT_TRUE(run.converted);
    EXPECT_EQ(run.Outputs(), (std::vector<std::string>{"name0.pcx", "name1.pcx", "name2.pcx"}));
    const PcxTestImage second = run.Read("name1.pcx");
    ASSERT_TRUE(second.valid);
    EXPECT_EQ(second.width, 3);
    EXPECT_EQ(second.height, 5);
    EXPECT_EQ(second.pixels, std::vector<uint8_t>(15, 0x22));
}

TEST(ConvertFile, OneFrameFileIsNamedByItsOffsets) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 5)};
    EXPECT_EQ(ConversionRun("name.dc6", file).Outputs(), std::vector<std::string>{"name.pcx"});
    file.frames[0].offsetX = 1;
    EXPECT_EQ(ConversionRun("name.dc6", file).Outputs(), std::vector<std::string>{"name0.pcx"});
}

TEST(ConvertFile, NamesWithSeveralFullStopsKeepAllButTheLast) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 5, 3), Solid(2, 2, 6)};
    EXPECT_EQ(ConversionRun("x.y.dc6", file).Outputs(), (std::vector<std::string>{"x.y0.pcx", "x.y1.pcx"}));
}

TEST(ConvertFile, AllFramesGivesOneFilePerFrameNumberedAcrossDirections) {
    Dc6TestFile file;
    file.directions = 2;
    for (int i = 0; i < 14; ++i)
        file.frames.push_back(Solid(2, 2, static_cast<uint8_t>(i)));
    ConversionRun run("anim.dc6", file, Dc6FrameScope::AllFrames);
    EXPECT_TRUE(run.converted);
    EXPECT_EQ(run.Outputs().size(), 14u);
    const PcxTestImage last = run.Read("anim13.pcx");
    ASSERT_TRUE(last.valid);
    EXPECT_EQ(last.At(1, 1), 13);
    EXPECT_EQ(ConversionRun("anim.dc6", file).Outputs().size(), 1u) << "without it: the first direction's sheet";
}

TEST(ConvertFile, SkipsFramesThatCannotBeReadWithANoticeAndWritesTheOthers) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 1, 1), Solid(2, 2, 2), Solid(2, 2, 3)};
    file.frames[1].width = 0;
    std::vector<uint8_t> bytes = file.Bytes();
    PutI32LE(bytes, 24 + 8, static_cast<int32_t>(bytes.size()));  // frame 2's header past the end
    ConversionRun run("bad.dc6", bytes);
    EXPECT_TRUE(run.converted);
    EXPECT_EQ(run.Outputs(), std::vector<std::string>{"bad0.pcx"});
    ASSERT_EQ(run.notices.size(), 2u);
    EXPECT_EQ(run.notices[0].rfind("Frame 1 is skipped: its size 0 x 2", 0), 0u) << run.notices[0];
    EXPECT_EQ(run.notices[1].rfind("Frame 2 is skipped: its header at", 0), 0u) << run.notices[1];
}

TEST(ConvertFile, FileWithNoUsableFrameWritesNothingAndDoesNotCount) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 1)};
    file.frames[0].height = -1;
    ConversionRun run("none.dc6", file);
    EXPECT_FALSE(run.converted);
    EXPECT_TRUE(run.Outputs().empty());
    EXPECT_EQ(run.notices.size(), 1u);
}

TEST(ConvertFile, RefusesASheetTooLargeForAnImage) {
    Dc6TestFile file;
    for (int i = 0; i < 12; ++i)
        file.frames.push_back({256, 65535, 0, 0, {}});
    ConversionRun run("huge.dc6", file);
    EXPECT_FALSE(run.converted);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_EQ(run.notices[0].rfind("A sheet of 3072 x 65535 pixels can not be made", 0), 0u) << run.notices[0];
}

TEST(ConvertFile, OutputThatCannotBeWrittenIsReportedAndDoesNotCount) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 1)};
    ConversionRun run("lost.dc6", file, Dc6FrameScope::FirstDirection, false);
    EXPECT_FALSE(run.converted);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_NE(run.notices[0].find("could not be created or written"), std::string::npos) << run.notices[0];
}

TEST(ConvertFile, AnUnwritableFolderIsReportedOnceForAllFramesOfAFile) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 1, 1), Solid(2, 2, 2, 1), Solid(2, 2, 3, 1)};
    ConversionRun run("frames.dc6", file, Dc6FrameScope::FirstDirection, false);
    EXPECT_FALSE(run.converted);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_NE(run.notices[0].find("frames0.pcx could not be created or written"), std::string::npos)
        << run.notices[0];
}

TEST(ConvertFile, AFrameWhoseLengthRunsPastTheFileIsDecodedFromWhatIsThereWithANotice) {
    Dc6TestFile file;
    file.frames = {Solid(3, 2, 7, 1)};
    std::vector<uint8_t> bytes = file.Bytes();
    PutI32LE(bytes, 28 + 28, 1000);
    bytes.resize(bytes.size() - 3);  // no terminator bytes after the frame either
    ConversionRun run("cut.dc6", bytes);
    EXPECT_TRUE(run.converted);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_EQ(run.notices[0].rfind("Frame 0: its 1000 bytes of coded scanlines run past the end of the file", 0), 0u)
        << run.notices[0];
    const PcxTestImage image = run.Read("cut0.pcx");
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(image.At(0, 0), 7);
    EXPECT_EQ(image.At(2, 1), 7);
}

TEST(ConvertFile, RefusesOutputPathsBeyondThePlatformLimit) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 1)};
    ConversionRun run(std::string(MaxOutputPathLength, 'n') + ".dc6", file);
    EXPECT_FALSE(run.converted);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_NE(run.notices[0].find("is longer than"), std::string::npos) << run.notices[0];
}

TEST(ConvertFile, OverwritesAnEarlierOutput) {
    Dc6TestFile file;
    file.frames = {Solid(2, 2, 1)};
    ConversionRun run("again.dc6", file);
    WriteBytes(run.dir / "PCXFiles" / "again.pcx", std::vector<uint8_t>(5000, 0x77));
    run.Run("again.dc6", file.Bytes(), Dc6FrameScope::FirstDirection);
    EXPECT_TRUE(run.Read("again.pcx").valid);
}

// Decoded frames (a DCC file's) take the DC6 path's layouts and writers: a sprite converts to
// the same bytes as the DC6 file of its frames, on a sheet or one file per frame, PCX or PNG.
TEST(ConvertSprite, WritesWhatConvertFileWritesForTheDc6FileOfTheSameFrames) {
    const auto frame = [](int32_t width, int32_t height, int32_t offsetX) {
        Dc6SourceFrame f;
        f.width = width;
        f.height = height;
        f.offsetX = offsetX;
        for (int32_t i = 0; i < width * height; ++i) {
            f.pixels.push_back(static_cast<uint8_t>(i % 3 == 0 ? 0 : 10 + i));
            f.opaque.push_back(f.pixels.back() != 0);
        }
        return f;
    };
    for (const bool withOffsets : {false, true}) {
        for (const ImageKind kind : {ImageKind::Pcx, ImageKind::Png}) {
            Dc6Sprite sprite;
            sprite.terminators = {0, 0, 0, 0};
            sprite.frames = {frame(5, 3, withOffsets ? -2 : 0), frame(4, 6, 0)};
            sprite.framesPerDirection = 2;
            std::vector<uint8_t> dc6;
            std::string problem;
            ASSERT_TRUE(EncodeDc6(sprite, dc6, problem)) << problem;
            Dc6FileInfo info;
            ASSERT_TRUE(GetFileInfoDC6(dc6, {}, info));
            ScratchDir fromSprite, fromFile;
            const std::string folder = Utf16ToUtf8(OutputFolderPath(u"", kind));
            std::filesystem::create_directories(fromSprite / folder);
            std::filesystem::create_directories(fromFile / folder);
            OutputBatch outputs;
            const Palette rgb = SwapRedAndBlue(BuiltInPalette());
            ASSERT_TRUE(ConvertSprite(u"s.dcc", sprite, Dc6FrameScope::FirstDirection, rgb, {}, outputs,
                                      fromSprite.Path().u16string(), kind));
            ASSERT_TRUE(ConvertFile(u"s.dc6", dc6, info, rgb, {}, outputs, fromFile.Path().u16string(), kind));
            std::vector<std::string> names;
            for (const auto& entry : std::filesystem::directory_iterator(fromSprite / folder))
                names.push_back(entry.path().filename().string());
            EXPECT_EQ(names.size(), withOffsets ? 2u : 1u);
            for (const std::string& name : names)
                EXPECT_EQ(ReadBytes(fromSprite / folder / name), ReadBytes(fromFile / folder / name)) << name;
        }
    }
}
