// The game's DCC animations, decoded and checked three ways that do not rest on the decoder:
// the streams are used to the bit, every frame's pixels reach the four sides of the box its
// header gives, and coded as DC6 scanlines each frame takes the length its header declares
// (the header's "decoded size" is the size of the DC6 file of those frames).
#include "DccDecoder.h"
#include "DccReader.h"
#include "DccReport.h"
#include "DccSprite.h"
#include "Dc6Encoder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct RealDcc {
    const char* name;
    int32_t directions;
    int32_t framesPerDirection;
    size_t bytes;
};

// The README's table of shared/real-data/dcc.
constexpr RealDcc RealDccFiles[] = {
    {"gf_h2.dcc", 1, 20, 85},
    {"gf_ResistLtngWraith.dcc", 1, 14, 5922},
    {"gf_BAS2LITA2HTH.dcc", 16, 12, 10783},
    {"gf_HPTRLITWLHTH.dcc", 8, 11, 92320},
};

std::vector<uint8_t> RealDccFile(const std::string& name) {
    std::vector<uint8_t> bytes = ReadBytes(RealDataDir() / "dcc" / name);
    SaveFuzzSeed("DccFuzz", "real-" + name, bytes);
    return bytes;
}

// Whether the frame's opaque pixels touch each side of its box.
bool FillsItsBox(const Dc6SourceFrame& frame) {
    bool top = false, bottom = false, left = false, right = false;
    for (int32_t y = 0; y < frame.height; ++y)
        for (int32_t x = 0; x < frame.width; ++x)
            if (frame.opaque[static_cast<size_t>(y) * static_cast<size_t>(frame.width) + static_cast<size_t>(x)]) {
                top = top || y == 0;
                bottom = bottom || y == frame.height - 1;
                left = left || x == 0;
                right = right || x == frame.width - 1;
            }
    return top && bottom && left && right;
}

uint64_t PixelHash(const std::vector<uint8_t>& pixels) {
    uint64_t hash = 0xCBF29CE484222325u;
    for (uint8_t p : pixels)
        hash = (hash ^ p) * 0x100000001B3u;
    return hash;
}

}  // namespace

TEST(RealDccFiles, DecodeWhollyAndAgreeWithTheirHeaders) {
    SKIP_WITHOUT_REAL_DATA();
    for (const RealDcc& real : RealDccFiles) {
        const std::vector<uint8_t> bytes = RealDccFile(real.name);
        DccFileInfo info;
        std::string problem;
        ASSERT_TRUE(GetFileInfoDcc(bytes, info, problem)) << real.name << ": " << problem;
        EXPECT_EQ(bytes.size(), real.bytes) << real.name;
        EXPECT_EQ(info.directions, real.directions) << real.name;
        EXPECT_EQ(info.framesPerDirection, real.framesPerDirection) << real.name;

        uint64_t codedBytes = 0;
        for (size_t d = 0; d < info.directionHeaders.size(); ++d) {
            std::vector<Image> frames;
            DccStreamsLeft left;
            ASSERT_TRUE(DecodeDccDirection(bytes, info.directionHeaders[d], frames, problem, &left)) << problem;
            EXPECT_EQ(left.equalCells + left.pixelMask + left.encodingType + left.rawPixels, 0u) << real.name << d;
            EXPECT_LT(left.pixelCodes, 8u) << real.name << " direction " << d;
            for (const DccFrameHeader& frame : info.directionHeaders[d].frames)
                codedBytes += frame.codedBytes;
        }
        // Files of tag 1 give the size of the DC6 file of their frames: its header, and for
        // each frame a pointer, a 32-byte header, the coded scanlines and 3 terminator bytes.
        if (info.tag == 1) {
            EXPECT_EQ(info.decodedSize, 24 + uint64_t(info.FrameCount()) * (4 + 32 + 3) + codedBytes) << real.name;
        }

        Dc6Sprite sprite;
        ASSERT_TRUE(DecodeDccSprite(bytes, Dc6FrameScope::AllFrames, sprite, problem)) << problem;
        ASSERT_EQ(sprite.frames.size(), static_cast<size_t>(info.FrameCount()));
        for (size_t i = 0; i < sprite.frames.size(); ++i) {
            const DccFrameHeader& header =
                info.directionHeaders[i / static_cast<size_t>(info.framesPerDirection)]
                    .frames[i % static_cast<size_t>(info.framesPerDirection)];
            std::vector<uint8_t> scanlines;
            EncodeFrameScanlines(sprite.frames[i], scanlines);
            EXPECT_EQ(scanlines.size(), header.codedBytes) << real.name << " frame " << i;
            EXPECT_TRUE(FillsItsBox(sprite.frames[i])) << real.name << " frame " << i;
        }
    }
}

// Frames looked at as pictures: the horned monster's first step walking to the left, and the
// middle of its walk towards the viewer (horns, claws, tentacles). Their pixels are kept.
TEST(RealDccFiles, FramesLookedAtKeepTheirPixels) {
    SKIP_WITHOUT_REAL_DATA();
    Dc6Sprite sprite;
    std::string problem;
    ASSERT_TRUE(DecodeDccSprite(RealDccFile("gf_HPTRLITWLHTH.dcc"), Dc6FrameScope::AllFrames, sprite, problem));
    const struct {
        size_t direction, frame;
        int32_t width, height, offsetX, offsetY;
        uint64_t hash;
    } looked[] = {
        {0, 0, 63, 75, -23, 10, 9164468642261415766u},
        {4, 5, 51, 76, -25, -9, 5176334814586248371u},
    };
    for (const auto& l : looked) {
        const Dc6SourceFrame& frame = sprite.frames[l.direction * 11 + l.frame];
        EXPECT_EQ(std::vector<int32_t>({frame.width, frame.height, frame.offsetX, frame.offsetY}),
                  std::vector<int32_t>({l.width, l.height, l.offsetX, l.offsetY}));
        EXPECT_EQ(PixelHash(frame.pixels), l.hash) << l.direction << " " << l.frame;
    }
}

TEST(RealDccFiles, DamagedCopiesAreRefusedNamingTheDirection) {
    SKIP_WITHOUT_REAL_DATA();
    const std::vector<uint8_t> h2 = RealDccFile("gf_h2.dcc");
    const std::vector<uint8_t> monster = RealDccFile("gf_HPTRLITWLHTH.dcc");
    // Every cut of a file leaves a direction short of the bits it uses (a sound direction
    // pads only its last byte) or a direction offset past the end.
    for (const std::vector<uint8_t>* real : {&h2, &monster}) {
        for (size_t size = 0; size < real->size(); size += real == &h2 ? 1 : 53) {
            const std::vector<uint8_t> cut(real->begin(), real->begin() + static_cast<std::ptrdiff_t>(size));
            Dc6Sprite sprite;
            std::string problem;
            EXPECT_FALSE(DecodeDccSprite(cut, Dc6FrameScope::AllFrames, sprite, problem)) << size;
            EXPECT_FALSE(problem.empty()) << size;
        }
    }
    const struct {
        const char* name;
        size_t at;
        uint8_t value;
        const char* said;
    } damages[] = {
        // Bits 40 to 47 of direction 0 set: its width and height fields become 32 bits wide.
        {"wide", 0x13 + 5, 0xFF, "direction 0: frame 0's size"},
        {"offset", 15, 0xF0, "direction 0: its offset 0xF0 lies outside the file's data"},
        {"version", 1, 5, "it is of version 5, not 6"},
    };
    for (const auto& damage : damages) {
        std::vector<uint8_t> bytes = h2;
        bytes[damage.at] = damage.value;
        SaveFuzzSeed("DccFuzz", std::string("damaged-") + damage.name, bytes);
        Dc6Sprite sprite;
        std::string problem;
        EXPECT_FALSE(DecodeDccSprite(bytes, Dc6FrameScope::AllFrames, sprite, problem)) << damage.name;
        EXPECT_EQ(problem.rfind(damage.said, 0), 0u) << damage.name << ": " << problem;
    }
}

TEST(RealDccFiles, InfoShowsEachDirectionAndCallsOnlyDamagedFilesDamaged) {
    SKIP_WITHOUT_REAL_DATA();
    std::ostringstream sound;
    EXPECT_TRUE(DescribeDcc("gf_HPTRLITWLHTH.dcc", RealDccFile("gf_HPTRLITWLHTH.dcc"), sound));
    EXPECT_NE(sound.str().find("  direction 7 at 0x140C5: 95 x 96 pixels from (-70, -92), 48 colour(s), equal cells "
                               "coded\n"),
              std::string::npos)
        << sound.str();
    EXPECT_NE(sound.str().find("    frame 0: 63 x 75, offsets (-23, 10)\n"), std::string::npos);
    std::vector<uint8_t> cut = RealDccFile("gf_HPTRLITWLHTH.dcc");
    cut.resize(cut.size() - 100);
    std::ostringstream damaged;
    EXPECT_FALSE(DescribeDcc("cut.dcc", cut, damaged));
    EXPECT_NE(damaged.str().find("    problem: frame "), std::string::npos) << damaged.str();
}
