#include "Dc6Decoder.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Decodes a frame of the whole image, filled with T3 first, and keeps the notices.
struct DecodeRun {
    Image image;
    std::vector<std::string> notices;
    Dc6DecodeResult result;
};

DecodeRun Decode(const Bytes& readable, int32_t length, int32_t width, int32_t height,
                 std::array<uint8_t, 4> terminators = {0xEE, 0xEE, 0xEE, 0xEE}) {
    DecodeRun run;
    EXPECT_TRUE(MakeImage(width, height, terminators[3], run.image));
    const Dc6Hooks hooks{nullptr, [&run](const std::string& text) { run.notices.push_back(text); }};
    run.result = DecodeFrameDC6(readable, length, terminators, run.image, {0, 0, width, height}, hooks);
    SaveFuzzSeed("Dc6Fuzz", "decoder-" + std::to_string(readable.size()) + "-" + std::to_string(width), readable);
    return run;
}

DecodeRun Decode(const Bytes& coded, int32_t width, int32_t height,
                 std::array<uint8_t, 4> terminators = {0xEE, 0xEE, 0xEE, 0xEE}) {
    return Decode(coded, static_cast<int32_t>(coded.size()), width, height, terminators);
}

Bytes Row(const Image& image, int32_t y) {
    return {image.Row(y), image.Row(y) + image.width};
}

}  // namespace

TEST(Dc6Decoder, PaintsRowsBottomUpWithTransparentAndLiteralRuns) {
    const DecodeRun run = Decode({0x82, 0x02, 0x11, 0x22, 0x80, 0x04, 0x01, 0x02, 0x03, 0x04, 0x80}, 4, 2);
    EXPECT_EQ(Row(run.image, 0), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(Row(run.image, 1), (Bytes{0xEE, 0xEE, 0x11, 0x22}));
    EXPECT_TRUE(run.notices.empty());
    EXPECT_EQ(run.result.linesEnded, 2);
}

TEST(Dc6Decoder, EndOfLineFollowedByAnyByteAndT1T2T3EndsTheFrame) {
    // T1 T2 T3 are 01 05 80 (T3 the background); 0x42 after the code is never compared.
    const DecodeRun run = Decode({0x01, 0x07, 0x80, 0x42, 0x01, 0x05, 0x80}, 4, 2, {0x00, 0x01, 0x05, 0x80});
    EXPECT_TRUE(run.result.terminated);
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x80, 0x80, 0x80, 0x80}));
    EXPECT_EQ(Row(run.image, 1), (Bytes{0x07, 0x80, 0x80, 0x80}));
    EXPECT_EQ(run.result.bytesRead, 3u);
}

TEST(Dc6Decoder, TerminatorBytesRightAfterTheEndOfLineDoNotEndTheFrame) {
    // The bytes right after the code equal T1 T2 T3, but the second to fourth ones do not.
    const DecodeRun run = Decode({0x01, 0x07, 0x80, 0x01, 0x05, 0x80, 0x00}, 4, 2, {0x00, 0x01, 0x05, 0x80});
    EXPECT_FALSE(run.result.terminated);
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x05, 0x80, 0x80, 0x80}));
    EXPECT_EQ(Row(run.image, 1), (Bytes{0x07, 0x80, 0x80, 0x80}));
    EXPECT_TRUE(run.notices.empty()) << "the trailing zero lies past the top row and is never read";
}

TEST(Dc6Decoder, TerminatorTestLooksPastTheCodedLengthButNotPastTheFile) {
    const Bytes readable{0x01, 0x07, 0x80, 0x42, 0x01, 0x05, 0x80};
    const std::array<uint8_t, 4> t{0x00, 0x01, 0x05, 0x80};
    EXPECT_TRUE(Decode(readable, 3, 4, 2, t).result.terminated);

    // Only two of the three bytes are in the file: no match, decoding goes on with 0x42,
    // a literal run that ends with the file.
    const DecodeRun cut = Decode({0x01, 0x07, 0x80, 0x42, 0x01, 0x05}, 4, 2, t);
    EXPECT_FALSE(cut.result.terminated);
    EXPECT_EQ(Row(cut.image, 0), (Bytes{0x01, 0x05, 0x80, 0x80}));
    EXPECT_EQ(cut.result.bytesRead, 6u);
}

TEST(Dc6Decoder, TransparentRunEndingAtTheWidthGivesNoNotice) {
    const DecodeRun run = Decode({0x01, 0x09, 0x83, 0x80}, 4, 1);
    EXPECT_TRUE(run.notices.empty());
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x09, 0xEE, 0xEE, 0xEE}));
}

TEST(Dc6Decoder, TransparentRunPastTheWidthGivesOneNoticeAtTheByteAfterItsCode) {
    const DecodeRun run = Decode({0x01, 0x09, 0x84, 0x80}, 4, 1);
    EXPECT_EQ(run.notices, (std::vector<std::string>{"Span overrun @ 3\n"}));
    EXPECT_EQ(run.result.notices, 1);
}

TEST(Dc6Decoder, LiteralRunPastTheWidthCopiesWhatFitsAndReadsTheRestAsCodes) {
    // Five literal bytes two pixels before the end: 0x31 0x32 are copied, the notice names the
    // third literal byte (offset 4), and the zero bytes that follow are read as codes.
    const DecodeRun run = Decode({0x82, 0x05, 0x31, 0x32, 0x00, 0x00, 0x83, 0x80}, 4, 1);
    EXPECT_EQ(Row(run.image, 0), (Bytes{0xEE, 0xEE, 0x31, 0x32}));
    EXPECT_EQ(run.notices,
              (std::vector<std::string>{"Span overrun @ 4\n", "Found ZERO Byte", "Found ZERO Byte", "Span overrun @ 7\n"}));
}

TEST(Dc6Decoder, OverrunOffsetIsUpperCaseHexWithoutPadding) {
    Bytes coded{0x7F};
    coded.insert(coded.end(), 127, 0x10);
    coded.push_back(0x7F);
    coded.insert(coded.end(), 127, 0x20);
    coded.push_back(0x80);
    // The second run starts at x 127 of 200: 73 bytes fit, the next unread byte is at 202 (0xCA).
    const DecodeRun run = Decode(coded, 200, 1);
    ASSERT_FALSE(run.notices.empty());
    EXPECT_EQ(run.notices[0], "Span overrun @ CA\n");
}

TEST(Dc6Decoder, ZeroByteGivesANoticeAndIsSkipped) {
    const DecodeRun run = Decode({0x00, 0x01, 0x44, 0x80}, 2, 1);
    EXPECT_EQ(run.notices, (std::vector<std::string>{"Found ZERO Byte"}));
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x44, 0xEE}));
}

TEST(Dc6Decoder, TooFewLinesLeaveTheTopRowsAtTheBackground) {
    const DecodeRun run = Decode({0x02, 0x01, 0x02, 0x80}, 2, 3);
    EXPECT_EQ(Row(run.image, 2), (Bytes{1, 2}));
    EXPECT_EQ(Row(run.image, 1), (Bytes{0xEE, 0xEE}));
    EXPECT_EQ(Row(run.image, 0), (Bytes{0xEE, 0xEE}));
    EXPECT_EQ(run.result.linesEnded, 1);
}

TEST(Dc6Decoder, MoreLinesThanTheHeightStopOnceTheTopRowIsPassed) {
    const DecodeRun run = Decode({0x01, 0x01, 0x80, 0x01, 0x02, 0x80, 0x01, 0x03, 0x80, 0x00}, 1, 2);
    EXPECT_EQ(Row(run.image, 0), (Bytes{2}));
    EXPECT_EQ(Row(run.image, 1), (Bytes{1}));
    EXPECT_EQ(run.result.bytesRead, 6u);
    EXPECT_TRUE(run.notices.empty());
}

TEST(Dc6Decoder, ZeroOrNegativeLengthPaintsNothing) {
    const Bytes coded{0x01, 0x07, 0x80};
    for (int32_t length : {0, -5}) {
        const DecodeRun run = Decode(coded, length, 3, 2);
        EXPECT_EQ(Row(run.image, 0), (Bytes{0xEE, 0xEE, 0xEE}));
        EXPECT_EQ(Row(run.image, 1), (Bytes{0xEE, 0xEE, 0xEE}));
        EXPECT_EQ(run.result.bytesRead, 0u);
    }
}

TEST(Dc6Decoder, LengthBeyondTheReadableBytesStopsAtTheirEnd) {
    const DecodeRun run = Decode({0x01, 0x07}, 1000, 2, 1);
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x07, 0xEE}));
    EXPECT_EQ(run.result.bytesRead, 2u);
}

TEST(Dc6Decoder, PaintsOnlyItsRectangleOfALargerImage) {
    Image sheet;
    ASSERT_TRUE(MakeImage(5, 3, 0x00, sheet));
    const Bytes coded{0x02, 0x0A, 0x0B, 0x80, 0x02, 0x0C, 0x0D, 0x80};
    const Dc6DecodeResult result =
        DecodeFrameDC6(coded, static_cast<int32_t>(coded.size()), {0xEE, 0xEE, 0xEE, 0xEE}, sheet, {2, 1, 2, 2}, {});
    EXPECT_TRUE(result.painted);
    EXPECT_EQ(Row(sheet, 0), (Bytes{0, 0, 0, 0, 0}));
    EXPECT_EQ(Row(sheet, 1), (Bytes{0, 0, 0x0C, 0x0D, 0}));
    EXPECT_EQ(Row(sheet, 2), (Bytes{0, 0, 0x0A, 0x0B, 0}));
}

TEST(Dc6Decoder, RefusesARectangleThatLeavesTheImage) {
    Image image;
    ASSERT_TRUE(MakeImage(4, 4, 0x00, image));
    const Bytes coded{0x04, 1, 2, 3, 4, 0x80};
    for (const Dc6FrameTarget target : {Dc6FrameTarget{1, 0, 4, 1}, Dc6FrameTarget{0, 2, 1, 3},
                                        Dc6FrameTarget{-1, 0, 2, 2}, Dc6FrameTarget{0, 0, 0, 1}}) {
        const Dc6DecodeResult result = DecodeFrameDC6(coded, 6, {0xEE, 0xEE, 0xEE, 0xEE}, image, target, {});
        EXPECT_FALSE(result.painted);
    }
    EXPECT_EQ(image.pixels, Bytes(16, 0));
}
