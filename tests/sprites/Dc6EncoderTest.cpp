#include "Dc6Encoder.h"
#include "Dc6Sprite.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A frame from rows written as text: '.' transparent, a hex digit an opaque index 0 to 15.
Dc6SourceFrame FrameFromRows(const std::vector<std::string>& rows) {
    Dc6SourceFrame frame;
    frame.height = static_cast<int32_t>(rows.size());
    frame.width = static_cast<int32_t>(rows[0].size());
    for (const std::string& row : rows) {
        for (char c : row) {
            frame.opaque.push_back(c != '.');
            frame.pixels.push_back(c == '.' ? 0 : static_cast<uint8_t>(std::stoi(std::string(1, c), nullptr, 16)));
        }
    }
    return frame;
}

std::vector<uint8_t> Scanlines(const Dc6SourceFrame& frame) {
    std::vector<uint8_t> coded;
    EncodeFrameScanlines(frame, coded);
    return coded;
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// Half of the pixels take the terminator byte `t`, so rows often start the way the end-of-frame
// mark does.
Dc6SourceFrame RandomFrame(std::mt19937& random, uint8_t t) {
    Dc6SourceFrame frame;
    frame.width = static_cast<int32_t>(random() % 300 + 1);
    frame.height = static_cast<int32_t>(random() % 20 + 1);
    frame.offsetX = static_cast<int32_t>(random() % 100) - 50;
    const size_t pixels = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
    const unsigned opaqueOdds = random() % 4;  // all transparent to mostly opaque
    for (size_t i = 0; i < pixels; ++i) {
        frame.pixels.push_back(random() % 2 ? t : static_cast<uint8_t>(random()));
        frame.opaque.push_back(random() % 4 < opaqueOdds);
    }
    for (size_t i = 0; i < pixels; ++i)
        if (!frame.opaque[i])
            frame.pixels[i] = t;  // what the decoder gives transparent pixels: the background T3
    return frame;
}

}  // namespace

TEST(Dc6Encoder, CodesRowsBottomUpEndingEveryRowOnceEmptyRowsIncluded) {
    const Dc6SourceFrame frame = FrameFromRows({"12..", "....", "..3."});
    EXPECT_EQ(Scanlines(frame), (std::vector<uint8_t>{0x82, 0x01, 0x03, 0x80,  // bottom row: skip 2, one literal
                                                      0x80,                    // empty row
                                                      0x02, 0x01, 0x02, 0x80}));
}

TEST(Dc6Encoder, SplitsRunsAt127PixelsAndLeavesTrailingTransparencyOut) {
    Dc6SourceFrame frame;
    frame.width = 400;
    frame.height = 1;
    frame.pixels.assign(400, 7);
    frame.opaque.assign(400, 0);
    for (size_t x = 130; x < 390; ++x)
        frame.opaque[x] = 1;  // 130 transparent, 260 opaque, 10 transparent at the end
    const std::vector<uint8_t> coded = Scanlines(frame);
    ASSERT_EQ(coded.size(), 2u + 3u + 260u + 1u);
    EXPECT_EQ(coded[0], 0xFF);
    EXPECT_EQ(coded[1], 0x83);
    EXPECT_EQ(coded[2], 127);
    EXPECT_EQ(coded[2 + 128], 127);
    EXPECT_EQ(coded[2 + 256], 6);
    EXPECT_EQ(coded.back(), 0x80);
}

TEST(Dc6Encoder, WritesHeaderPointerTableNextBlockAndTerminatorsForSeveralDirections) {
    Dc6Sprite sprite;
    sprite.directions = 2;
    sprite.framesPerDirection = 2;
    sprite.terminators = {0xCD, 0xCD, 0xCD, 0xCD};
    sprite.frameTerminator = std::array<uint8_t, 3>{0xCD, 0xCD, 0xCD};
    for (int i = 0; i < 4; ++i)
        sprite.frames.push_back(FrameFromRows({std::string(static_cast<size_t>(i + 1), '5')}));
    sprite.frames[2].offsetX = -137;
    std::vector<uint8_t> file;
    std::string problem;
    ASSERT_TRUE(EncodeDc6(sprite, file, problem)) << problem;
    EXPECT_EQ(U32At(file, 0), 6u);
    EXPECT_EQ(U32At(file, 16), 2u);
    EXPECT_EQ(U32At(file, 20), 2u);
    size_t expected = 24 + 4 * 4;
    for (size_t i = 0; i < 4; ++i) {
        ASSERT_EQ(U32At(file, 24 + 4 * i), expected) << "frame " << i;
        const uint32_t length = U32At(file, expected + 28);
        EXPECT_EQ(length, 1 + (i + 1) + 1) << "literal count, pixels, end of line";
        const size_t dataEnd = expected + 32 + length;
        EXPECT_EQ(U32At(file, expected + 24), dataEnd + 3) << "next block of frame " << i;
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + static_cast<long>(dataEnd), file.begin() + static_cast<long>(dataEnd) + 3),
                  (std::vector<uint8_t>{0xCD, 0xCD, 0xCD}));
        expected = dataEnd + 3;
    }
    EXPECT_EQ(file.size(), expected);
    EXPECT_EQ(static_cast<int32_t>(U32At(file, U32At(file, 32) + 12)), -137);
}

TEST(Dc6Encoder, RefusesFramesThatDoNotMatchTheDirectionsOrTheirSize) {
    Dc6Sprite sprite;
    sprite.framesPerDirection = 2;
    sprite.frames.push_back(FrameFromRows({"1"}));
    std::vector<uint8_t> file;
    std::string problem;
    EXPECT_FALSE(EncodeDc6(sprite, file, problem));
    EXPECT_EQ(problem, "1 direction(s) of 2 frame(s) do not match the 1 frames given");
    sprite.framesPerDirection = 1;
    sprite.frames[0].pixels.push_back(1);
    EXPECT_FALSE(EncodeDc6(sprite, file, problem));
    EXPECT_EQ(problem, "frame 0: its size 1 x 1 is not an image size, or its pixels do not fill it");
}

TEST(Dc6Encoder, WhatItWritesDecodesToTheSamePixelsTransparencyAndOffsetsWhateverTheTerminator) {
    std::mt19937 random(15);
    for (int round = 0; round < 40; ++round) {
        const uint8_t t = round < 2 ? static_cast<uint8_t>(round * 0xEE) : static_cast<uint8_t>(random());
        Dc6Sprite sprite;
        sprite.terminators = {t, t, t, t};
        sprite.frameTerminator.reset();
        sprite.directions = static_cast<int32_t>(random() % 3 + 1);
        sprite.framesPerDirection = static_cast<int32_t>(random() % 3 + 1);
        for (int32_t i = 0; i < sprite.directions * sprite.framesPerDirection; ++i)
            sprite.frames.push_back(RandomFrame(random, t));
        std::vector<uint8_t> file;
        std::string problem;
        ASSERT_TRUE(EncodeDc6(sprite, file, problem)) << problem;
        Dc6Sprite decoded;
        ASSERT_TRUE(DecodeDc6Sprite(file, {}, decoded, problem)) << problem;
        ASSERT_EQ(decoded.frames.size(), sprite.frames.size());
        for (size_t i = 0; i < sprite.frames.size(); ++i) {
            EXPECT_EQ(decoded.frames[i].pixels, sprite.frames[i].pixels) << "round " << round << " frame " << i;
            EXPECT_EQ(decoded.frames[i].opaque, sprite.frames[i].opaque) << "round " << round << " frame " << i;
            EXPECT_EQ(decoded.frames[i].offsetX, sprite.frames[i].offsetX);
        }
    }
}

TEST(Dc6Encoder, UnreadableFramesStayUnreadableWithoutTakingAnotherFramesPlace) {
    Dc6Sprite sprite;
    sprite.framesPerDirection = 3;
    sprite.frames.resize(3);
    sprite.frames[0].unreadablePointer = 4;        // into the header: kept
    sprite.frames[1] = FrameFromRows({"12", ".3"});
    sprite.frames[2].unreadablePointer = 0x24;     // would read the new file's frame 1 as a frame
    std::vector<uint8_t> file;
    std::string problem;
    ASSERT_TRUE(EncodeDc6(sprite, file, problem)) << problem;
    EXPECT_EQ(U32At(file, 24), 4u);
    EXPECT_EQ(U32At(file, 32), file.size()) << "pointed past the end instead";
    Dc6Sprite read;
    ASSERT_TRUE(DecodeDc6Sprite(file, {}, read, problem)) << problem;
    EXPECT_EQ(read.frames[0].unreadablePointer, 4u);
    EXPECT_EQ(read.frames[1].opaque, sprite.frames[1].opaque);
    EXPECT_EQ(read.frames[1].pixels[3], 3);
    EXPECT_EQ(read.frames[2].unreadablePointer, file.size());
}
