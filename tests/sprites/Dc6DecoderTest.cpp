#include "Dc6Decoder.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Decodes a frame of the whole image, filled with T3 first.
struct DecodeRun {
    Image image;
    Dc6DecodeResult result;
    bool Clean() const { return result.zeroBytes == 0 && result.overruns == 0; }
};

DecodeRun Decode(const Bytes& readable, int32_t length, int32_t width, int32_t height,
                 std::array<uint8_t, 4> terminators = {0xEE, 0xEE, 0xEE, 0xEE}) {
    DecodeRun run;
    EXPECT_TRUE(MakeImage(width, height, terminators[3], run.image));
    run.result = DecodeFrameDC6(readable, length, terminators, run.image, {0, 0, width, height});
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
    EXPECT_TRUE(run.Clean());
    EXPECT_EQ(run.result.linesEnded, 2);
}

TEST(Dc6Decoder, EndOfLineFollowedByAnyByteAndT1T2T3EndsTheFrameWhereTheCodedDataEnd) {
    // T1 T2 T3 are 01 05 80 (T3 the background); 0x42 after the code is never compared.
    const DecodeRun run = Decode({0x01, 0x07, 0x80, 0x42, 0x01, 0x05, 0x80}, 4, 4, 2, {0x00, 0x01, 0x05, 0x80});
    EXPECT_TRUE(run.result.terminated);
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x80, 0x80, 0x80, 0x80}));
    EXPECT_EQ(Row(run.image, 1), (Bytes{0x07, 0x80, 0x80, 0x80}));
    EXPECT_EQ(run.result.bytesRead, 3u);
}

// A row that starts with pixels of the terminator's colour codes the end-of-frame mark inside
// the data: it is a row, wherever the terminator byte stands, unless the length is damaged.
TEST(Dc6Decoder, TheEndOfFrameMarkInsideTheCodedDataIsARow) {
    for (const uint8_t t : {0x00, 0x03, 0x80, 0xCD, 0xEE}) {
        const Bytes coded{0x01, 0x07, 0x80, 0x03, t, t, t, 0x80};
        const std::array<uint8_t, 4> terminators{t, t, t, t};
        const DecodeRun run = Decode(coded, 3, 2, terminators);
        EXPECT_FALSE(run.result.terminated) << int(t);
        EXPECT_EQ(Row(run.image, 0), (Bytes{t, t, t})) << int(t);
        EXPECT_EQ(Row(run.image, 1), (Bytes{0x07, t, t})) << int(t);
        EXPECT_TRUE(Decode(coded, -16, 3, 2, terminators).result.terminated) << int(t);
    }
}

TEST(Dc6Decoder, TerminatorBytesRightAfterTheEndOfLineDoNotEndTheFrame) {
    // The bytes right after the code equal T1 T2 T3, but the second to fourth ones do not.
    const DecodeRun run = Decode({0x01, 0x07, 0x80, 0x01, 0x05, 0x80, 0x00}, 4, 2, {0x00, 0x01, 0x05, 0x80});
    EXPECT_FALSE(run.result.terminated);
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x05, 0x80, 0x80, 0x80}));
    EXPECT_EQ(Row(run.image, 1), (Bytes{0x07, 0x80, 0x80, 0x80}));
    EXPECT_TRUE(run.Clean()) << "the trailing zero lies past the top row and is never read";
}

TEST(Dc6Decoder, TerminatorTestLooksPastTheCodedLengthButNotPastTheFile) {
    const Bytes readable{0x01, 0x07, 0x80, 0x42, 0x01, 0x05, 0x80};
    const std::array<uint8_t, 4> t{0x00, 0x01, 0x05, 0x80};
    EXPECT_TRUE(Decode(readable, 3, 4, 2, t).result.terminated);
    EXPECT_FALSE(Decode(readable, 5, 4, 2, t).result.terminated) << "the mark lies inside the coded data";

    // Only two of the three bytes are in the file: no match, decoding goes on with 0x42,
    // a literal run that ends with the file.
    const DecodeRun cut = Decode({0x01, 0x07, 0x80, 0x42, 0x01, 0x05}, 4, 2, t);
    EXPECT_FALSE(cut.result.terminated);
    EXPECT_EQ(Row(cut.image, 0), (Bytes{0x01, 0x05, 0x80, 0x80}));
    EXPECT_EQ(cut.result.bytesRead, 6u);
}

TEST(Dc6Decoder, TransparentRunEndingAtTheWidthGivesNoNotice) {
    const DecodeRun run = Decode({0x01, 0x09, 0x83, 0x80}, 4, 1);
    EXPECT_TRUE(run.Clean());
    EXPECT_EQ(Row(run.image, 0), (Bytes{0x09, 0xEE, 0xEE, 0xEE}));
}

TEST(Dc6Decoder, TransparentRunPastTheWidthIsCounted) {
    const DecodeRun run = Decode({0x01, 0x09, 0x84, 0x80}, 4, 1);
    EXPECT_EQ(run.result.overruns, 1);
}

TEST(Dc6Decoder, LiteralRunPastTheWidthCopiesWhatFitsAndReadsTheRestAsCodes) {
    // Five literal bytes two pixels before the end: 0x31 0x32 are copied, and the rest are read
    // as codes: two zero bytes and a transparent run past the width.
    const DecodeRun run = Decode({0x82, 0x05, 0x31, 0x32, 0x00, 0x00, 0x83, 0x80}, 4, 1);
    EXPECT_EQ(Row(run.image, 0), (Bytes{0xEE, 0xEE, 0x31, 0x32}));
    EXPECT_EQ(run.result.overruns, 2);
    EXPECT_EQ(run.result.zeroBytes, 2);
}

TEST(Dc6Decoder, ZeroByteIsCountedAndSkipped) {
    const DecodeRun run = Decode({0x00, 0x01, 0x44, 0x80}, 2, 1);
    EXPECT_EQ(run.result.zeroBytes, 1);
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
    EXPECT_TRUE(run.Clean());
}

TEST(Dc6Decoder, ADamagedLengthReadsTheRowsThereAre) {
    const Bytes coded{0x01, 0x07, 0x80, 0x02, 0x08, 0x09, 0x80, 0x55};
    for (int32_t length : {0, -16, INT32_MIN}) {
        const DecodeRun run = Decode(coded, length, 3, 2);
        EXPECT_EQ(Row(run.image, 0), (Bytes{0x08, 0x09, 0xEE}));
        EXPECT_EQ(Row(run.image, 1), (Bytes{0x07, 0xEE, 0xEE}));
        EXPECT_EQ(run.result.bytesRead, 7u);
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
        DecodeFrameDC6(coded, static_cast<int32_t>(coded.size()), {0xEE, 0xEE, 0xEE, 0xEE}, sheet, {2, 1, 2, 2});
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
        const Dc6DecodeResult result = DecodeFrameDC6(coded, 6, {0xEE, 0xEE, 0xEE, 0xEE}, image, target);
        EXPECT_FALSE(result.painted);
    }
    EXPECT_EQ(image.pixels, Bytes(16, 0));
}

TEST(Dc6Decoder, FrameNoticeSumsUpAFrameInOneLine) {
    Dc6FrameInfo whole;
    whole.length = whole.storedLength = 40;
    Dc6FrameInfo cut = whole;
    cut.length = 12;
    Dc6FrameInfo damaged;
    damaged.length = damaged.storedLength = -16;
    Dc6DecodeResult flawed;
    flawed.zeroBytes = 3512;
    flawed.overruns = 2;
    EXPECT_EQ(FrameNotice(1, whole, {}), "");
    EXPECT_EQ(FrameNotice(2, cut, flawed),
              "Frame 2: its 40 bytes of coded scanlines run past the end of the file; the 12 bytes there are decoded; "
              "3512 zero code byte(s) were skipped; 2 run(s) past the frame's width were cut at its edge.");
    EXPECT_EQ(FrameNotice(0, damaged, {}),
              "Frame 0: its length field reads -16, so its rows are read from the bytes after its header.");
}
