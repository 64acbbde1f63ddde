#include "Dc6Reader.h"

#include "Dc6Builder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string VersionMessage =
    "DC6 file is not version 6 and can not be converted!\n\n"
    "Do you wish to receive further error notification?";
const std::string TruncatedMessage =
    "DC6 file is truncated: its header or frame table ends past the end of the file and can not be converted!\n\n"
    "Do you wish to receive further error notification?";
const std::string BlocksMessage =
    "DC6 file has invalid number of blocks and can not be converted!\n\n"
    "Do you wish to receive further error notification?";

struct InfoRun {
    bool ok = false;
    Dc6FileInfo info;
    std::vector<std::string> errors;
};

InfoRun Check(const std::vector<uint8_t>& bytes, Dc6FrameScope scope = Dc6FrameScope::FirstDirection) {
    InfoRun run;
    const Dc6Hooks hooks{[&run](const std::string& text) { run.errors.push_back(text); }, nullptr};
    run.ok = GetFileInfoDC6(bytes, hooks, run.info, scope);
    SaveFuzzSeed("Dc6Fuzz", "reader-" + std::to_string(bytes.size()) + "-" + std::to_string(bytes.size() > 20 ? bytes[20] : 0),
                 bytes);
    return run;
}

Dc6TestFile FramesOf(int count, int32_t width = 2, int32_t height = 1) {
    Dc6TestFile file;
    for (int i = 0; i < count; ++i)
        file.frames.push_back({width, height, 0, 0, SolidFrameCode(width, height, static_cast<uint8_t>(i))});
    return file;
}

}  // namespace

TEST(Dc6FileInfo, RefusesVersionsOtherThanSix) {
    Dc6TestFile file = FramesOf(1);
    file.version = 5;
    const InfoRun run = Check(file.Bytes());
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.errors, std::vector<std::string>{VersionMessage});
}

TEST(Dc6FileInfo, RefusesFrameCountsOutsideOneToTwelve) {
    for (int count : {0, 13}) {
        const InfoRun run = Check(FramesOf(count).Bytes());
        EXPECT_FALSE(run.ok) << count;
        EXPECT_EQ(run.errors, std::vector<std::string>{BlocksMessage}) << count;
    }
    const InfoRun twelve = Check(FramesOf(12).Bytes());
    EXPECT_TRUE(twelve.ok);
    EXPECT_EQ(twelve.info.FrameCount(), 12);
}

TEST(Dc6FileInfo, KeepsTheTerminatorsAndFramePositions) {
    Dc6TestFile file = FramesOf(2);
    file.terminators = {0x01, 0x02, 0x03, 0xCD};
    const std::vector<uint8_t> bytes = file.Bytes();
    const InfoRun run = Check(bytes);
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.info.terminators, (std::array<uint8_t, 4>{0x01, 0x02, 0x03, 0xCD}));
    EXPECT_EQ(run.info.Background(), 0xCD);
    ASSERT_EQ(run.info.FrameCount(), 2);
    EXPECT_EQ(run.info.framePositions[0], 32u);
    EXPECT_EQ(bytes[run.info.framePositions[1] - 1], 0xEE) << "frame 1 follows frame 0's terminator bytes";
}

TEST(Dc6FileInfo, FirstDirectionOnlyUnlessAllFramesAreAsked) {
    Dc6TestFile file = FramesOf(24);
    file.directions = 3;
    const InfoRun first = Check(file.Bytes());
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.info.FrameCount(), 8);
    const InfoRun all = Check(file.Bytes(), Dc6FrameScope::AllFrames);
    ASSERT_TRUE(all.ok);
    EXPECT_EQ(all.info.FrameCount(), 24);
}

TEST(Dc6FileInfo, AllFramesAcceptsMoreThanTwelveFramesPerDirection) {
    const InfoRun run = Check(FramesOf(95).Bytes(), Dc6FrameScope::AllFrames);
    ASSERT_TRUE(run.ok);
    EXPECT_EQ(run.info.FrameCount(), 95);
}

TEST(Dc6FileInfo, HasOffsetsWhenAnyFrameHasANonZeroOffset) {
    Dc6TestFile file = FramesOf(3);
    EXPECT_FALSE(Check(file.Bytes()).info.hasOffsets);
    file.frames[2].offsetX = -3;
    EXPECT_TRUE(Check(file.Bytes()).info.hasOffsets);
    file.frames[2].offsetX = 0;
    file.frames[1].offsetY = 7;
    EXPECT_TRUE(Check(file.Bytes()).info.hasOffsets);
}

TEST(Dc6FileInfo, RefusesAFrameTableThatRunsPastTheEndOfTheFile) {
    std::vector<uint8_t> bytes = FramesOf(1).Bytes();
    PutI32LE(bytes, 20, 12);
    bytes.resize(24 + 4 * 11);
    const InfoRun run = Check(bytes);
    EXPECT_FALSE(run.ok);
    ASSERT_EQ(run.errors.size(), 1u);
    EXPECT_NE(run.errors[0].find("truncated"), std::string::npos) << run.errors[0];
}

TEST(Dc6FileInfo, RefusesHugeFrameCountsWithoutAllocatingForThem) {
    std::vector<uint8_t> bytes = FramesOf(1).Bytes();
    PutI32LE(bytes, 16, 0x7FFFFFFF);
    PutI32LE(bytes, 20, 0x7FFFFFFF);
    const InfoRun run = Check(bytes, Dc6FrameScope::AllFrames);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.errors.size(), 1u);
    PutI32LE(bytes, 16, -1);
    EXPECT_EQ(Check(bytes, Dc6FrameScope::AllFrames).errors, std::vector<std::string>{BlocksMessage});
}

TEST(Dc6FileInfo, ShortFilesGiveOneMessageThatTheyAreCutShort) {
    EXPECT_EQ(Check({0x06}).errors, std::vector<std::string>{TruncatedMessage});
    EXPECT_EQ(Check({0x06, 0x00, 0x00}).errors, std::vector<std::string>{TruncatedMessage});
    const InfoRun headerOnly = Check({0x06, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xEE, 0xEE});
    EXPECT_FALSE(headerOnly.ok);
    EXPECT_EQ(headerOnly.errors.size(), 1u);
}

TEST(Dc6FrameInfo, ReadsSizeOffsetsAndCodedData) {
    Dc6TestFile file = FramesOf(1, 5, 3);
    file.frames[0].offsetX = -47;
    file.frames[0].offsetY = 60;
    const std::vector<uint8_t> bytes = file.Bytes();
    const InfoRun run = Check(bytes);
    Dc6FrameInfo frame;
    std::string problem;
    ASSERT_TRUE(GetFrameInfoDC6(bytes, run.info, 0, frame, problem)) << problem;
    EXPECT_EQ(frame.width, 5);
    EXPECT_EQ(frame.height, 3);
    EXPECT_EQ(frame.offsetX, -47);
    EXPECT_EQ(frame.offsetY, 60);
    EXPECT_EQ(frame.length, static_cast<int32_t>(file.frames[0].coded.size()));
    EXPECT_EQ(frame.dataPosition, frame.headerPosition + 32);
}

TEST(Dc6FrameInfo, RefusesAHeaderPastTheEndOfTheFile) {
    std::vector<uint8_t> bytes = FramesOf(1).Bytes();
    PutI32LE(bytes, 24, static_cast<int32_t>(bytes.size() - 31));
    const InfoRun run = Check(bytes);
    ASSERT_TRUE(run.ok);
    Dc6FrameInfo frame;
    std::string problem;
    EXPECT_FALSE(GetFrameInfoDC6(bytes, run.info, 0, frame, problem));
    char expected[64];
    std::snprintf(expected, sizeof expected, "its header at 0x%zX lies past the end", bytes.size() - 31);
    EXPECT_NE(problem.find(expected), std::string::npos) << problem;

    PutI32LE(bytes, 24, -4);  // 0xFFFFFFFC
    EXPECT_FALSE(GetFrameInfoDC6(bytes, Check(bytes).info, 0, frame, problem));
}

TEST(Dc6FrameInfo, CutsCodedDataPastTheEndOfTheFileToWhatIsThere) {
    std::vector<uint8_t> bytes = FramesOf(1).Bytes();
    PutI32LE(bytes, 28 + 28, static_cast<int32_t>(bytes.size()));
    Dc6FrameInfo frame;
    std::string problem;
    ASSERT_TRUE(GetFrameInfoDC6(bytes, Check(bytes).info, 0, frame, problem)) << problem;
    EXPECT_EQ(frame.storedLength, static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(frame.length, static_cast<int32_t>(bytes.size() - 60));
    // Coded data ending exactly at the end of the file are whole.
    PutI32LE(bytes, 28 + 28, static_cast<int32_t>(bytes.size() - 60));
    EXPECT_TRUE(GetFrameInfoDC6(bytes, Check(bytes).info, 0, frame, problem)) << problem;
    EXPECT_EQ(frame.length, frame.storedLength);
}

TEST(Dc6FrameInfo, RefusesSizesThatCannotBeAnImage) {
    for (const auto& [width, height] : {std::pair{0, 1}, {1, 0}, {-1, 5}, {5, -286331154}, {65536, 1}, {1, 65536}}) {
        Dc6TestFile file = FramesOf(1);
        file.frames[0].width = width;
        file.frames[0].height = height;
        const std::vector<uint8_t> bytes = file.Bytes();
        Dc6FrameInfo frame;
        std::string problem;
        EXPECT_FALSE(GetFrameInfoDC6(bytes, Check(bytes).info, 0, frame, problem)) << width << " x " << height;
        EXPECT_NE(problem.find("is not an image size"), std::string::npos) << problem;
    }
    Dc6TestFile widest = FramesOf(1);
    widest.frames[0].width = 65535;
    const std::vector<uint8_t> bytes = widest.Bytes();
    Dc6FrameInfo frame;
    std::string problem;
    EXPECT_TRUE(GetFrameInfoDC6(bytes, Check(bytes).info, 0, frame, problem)) << problem;
}
