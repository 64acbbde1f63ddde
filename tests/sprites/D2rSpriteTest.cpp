// Diablo II: Resurrected sprites: the real files read as ImageMagick reads their pixel strip and
// written back byte for byte, strips with room to spare, and damaged files refused by every
// command with the file's name and what is wrong.
#include "D2rSprite.h"
#include "RunDc6tool.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct SpriteToolRun {
    int exit = 0;
    std::string said;  // standard output and standard error
};

SpriteToolRun RunSpriteTool(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    SpriteToolRun run;
    run.exit = RunDc6tool(args);
    run.said = testing::internal::GetCapturedStdout();
    run.said += testing::internal::GetCapturedStderr();
    return run;
}

void PutLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value, size_t size) {
    for (size_t i = 0; i < size; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A version 31 header and `pixelBytes` bytes counting up from 0.
std::vector<uint8_t> SpriteFile(uint32_t frameWidth, uint32_t stripWidth, uint32_t height, uint32_t frames,
                                size_t pixelBytes) {
    std::vector<uint8_t> bytes(D2rSpriteHeaderSize + pixelBytes, 0);
    std::copy_n("SpA1", 4, bytes.begin());
    PutLittleEndian(bytes, 4, 31, 2);
    PutLittleEndian(bytes, 6, frameWidth, 2);
    PutLittleEndian(bytes, 8, stripWidth, 4);
    PutLittleEndian(bytes, 12, height, 4);
    PutLittleEndian(bytes, 20, frames, 4);
    for (size_t i = 0; i < pixelBytes; ++i)
        bytes[D2rSpriteHeaderSize + i] = static_cast<uint8_t>(i);
    return bytes;
}

bool ImageMagickAbsent() {
#ifdef _WIN32
    return true;
#else
    return std::system("convert -version >/dev/null 2>&1") != 0;
#endif
}

// Frame `index` of the sprite as ImageMagick reads it: the strip as raw red, green, blue, alpha
// after the 40-byte header, cropped to the frame's columns.
std::vector<uint8_t> ImageMagickFrame(const std::filesystem::path& sprite, int stripWidth, int frameWidth,
                                      int height, int index, const ScratchDir& scratch) {
    const std::filesystem::path raw = scratch / "frame.rgba";
    const std::string command = "convert -size " + std::to_string(stripWidth) + "x" + std::to_string(height) +
                                "+40 -depth 8 'rgba:" + sprite.string() + "' -crop " + std::to_string(frameWidth) +
                                "x" + std::to_string(height) + "+" + std::to_string(index * frameWidth) +
                                "+0 +repage 'rgba:" + raw.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadBytes(raw);
}

}  // namespace

TEST(RealD2rSprites, FramesLieSideBySideInTheStripAndAreWrittenBackByteForByte) {
    SKIP_WITHOUT_REAL_DATA();
    struct Case {
        const char* name;
        size_t frames;
        int width;
        int height;
    };
    for (const Case& c : {Case{"ri_mal_rune.lowend.sprite", 1, 49, 49}, Case{"ri_eld_rune.sprite", 1, 98, 98},
                          Case{"ri_goldbutton.lowend.sprite", 4, 36, 37}, Case{"rb_gemcan_skull.sprite", 1, 98, 98}}) {
        const std::filesystem::path path = RealDataDir() / "sprite" / c.name;
        const std::vector<uint8_t> bytes = ReadBytes(path);
        SaveFuzzSeed("D2rSpriteFuzz", std::string("real-") + c.name, bytes);
        std::vector<RgbaImage> frames;
        std::string problem;
        ASSERT_TRUE(DecodeD2rSprite(bytes, frames, problem)) << c.name << ": " << problem;
        ASSERT_EQ(frames.size(), c.frames) << c.name;
        for (const RgbaImage& frame : frames) {
            EXPECT_EQ(frame.width, c.width) << c.name;
            EXPECT_EQ(frame.height, c.height) << c.name;
        }
        std::vector<uint8_t> written;
        ASSERT_TRUE(EncodeD2rSprite(frames, written, problem)) << problem;
        EXPECT_EQ(written, bytes) << c.name << ": the header fields and pixels as the game's file has them";
        if (ImageMagickAbsent())
            continue;
        ScratchDir scratch;
        const int stripWidth = c.width * static_cast<int>(c.frames);
        for (size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(frames[i].pixels, ImageMagickFrame(path, stripWidth, c.width, c.height, static_cast<int>(i), scratch))
                << c.name << " frame " << i;
    }
}

TEST(D2rSprite, FramesAreReadAtTheirColumnsOfAStripWithRoomToSpareAndBytesAfterThePixelsAreLeft) {
    // Two frames 2 pixels wide in a strip of 5, 2 rows, 7 bytes after the pixels: pixel
    // (x, y) holds the bytes 4 (5y + x) to 4 (5y + x) + 3.
    const std::vector<uint8_t> bytes = SpriteFile(2, 5, 2, 2, 5 * 2 * 4 + 7);
    SaveFuzzSeed("D2rSpriteFuzz", "room-to-spare", bytes);
    std::vector<RgbaImage> frames;
    std::string problem;
    ASSERT_TRUE(DecodeD2rSprite(bytes, frames, problem)) << problem;
    ASSERT_EQ(frames.size(), 2u);
    const auto pixelsAt = [](std::vector<int> columns) {
        std::vector<uint8_t> pixels;
        for (int y = 0; y < 2; ++y)
            for (int x : columns)
                for (int b = 0; b < 4; ++b)
                    pixels.push_back(static_cast<uint8_t>(4 * (5 * y + x) + b));
        return pixels;
    };
    EXPECT_EQ(frames[0].pixels, pixelsAt({0, 1}));
    EXPECT_EQ(frames[1].pixels, pixelsAt({2, 3}));

    ScratchDir dir;
    WriteBytes(dir / "spare.sprite", bytes);
    const SpriteToolRun info = RunSpriteTool({"info", (dir / "spare.sprite").string()});
    EXPECT_EQ(info.exit, 0);
    EXPECT_NE(info.said.find("columns 4 to 4 of the strip lie right of the last frame"), std::string::npos) << info.said;
    EXPECT_NE(info.said.find("7 byte(s) after the pixels are not read"), std::string::npos) << info.said;
}

TEST(D2rSprite, EveryCommandRefusesADamagedFileNamingItAndWhatIsWrong) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* problem;
    };
    std::vector<uint8_t> cutHeader = SpriteFile(1, 1, 1, 1, 0);
    cutHeader.pop_back();
    std::vector<uint8_t> version61 = SpriteFile(1, 1, 1, 1, 4);
    version61[4] = 61;
    const std::vector<Case> cases = {
        {"cut-header", cutHeader, "its header needs 40 bytes, the file has 39"},
        {"version", version61, "version 61: only version 31"},
        {"no-frames", SpriteFile(1, 1, 1, 0, 4), "it holds no frames"},
        {"zero-width-frames", SpriteFile(0, 1, 1, 1, 4), "1 frame(s) 0 pixels wide do not fit in its strip 1 pixels wide"},
        {"frames-overflow", SpriteFile(0xFFFF, 0xFFFF, 1, 0xFFFFFFFF, 0),
         "4294967295 frame(s) 65535 pixels wide do not fit"},
        {"strip-overflow", SpriteFile(1, 0xFFFFFFFF, 0xFFFFFFFF, 1, 0), "its strip of 4294967295 x 4294967295 pixels is no image"},
        {"cut-pixels", SpriteFile(2, 4, 3, 2, 4 * 3 * 4 - 1), "4 x 3 pixels take 48 bytes after the header, the file has 47"},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"info"}, {"topng", "-o", "{dir}"}, {"unpack", "-o", "{dir}"}, {"fromimage", "-o", "{dir}/out.dc6"},
        {"fromimage", "-o", "{dir}/out.sprite"}};
    for (const Case& c : cases) {
        std::vector<RgbaImage> frames;
        std::string problem;
        EXPECT_FALSE(DecodeD2rSprite(c.bytes, frames, problem)) << c.name;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
        SaveFuzzSeed("D2rSpriteFuzz", std::string("damaged-") + c.name, c.bytes);

        ScratchDir dir;
        const std::string path = (dir / (std::string(c.name) + ".sprite")).string();
        WriteBytes(path, c.bytes);
        for (std::vector<std::string> args : commands) {
            for (std::string& arg : args)
                if (arg.starts_with("{dir}"))
                    arg = dir.Path().string() + arg.substr(5);
            args.push_back(path);
            const SpriteToolRun run = RunSpriteTool(args);
            EXPECT_EQ(run.exit, 1) << c.name << " " << args[0] << ": " << run.said;
            EXPECT_NE(run.said.find(path + ": "), std::string::npos) << c.name << " " << args[0] << ": " << run.said;
            EXPECT_NE(run.said.find(c.problem), std::string::npos) << c.name << " " << args[0] << ": " << run.said;
        }
        EXPECT_FALSE(std::filesystem::exists(dir / "out.dc6")) << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.sprite")) << c.name;
    }
}

TEST(D2rSprite, FramesOfDifferentSizesOrNoneMakeNoSprite) {
    const RgbaImage small{1, 1, std::vector<uint8_t>(4, 9)};
    const RgbaImage wide{2, 1, std::vector<uint8_t>(8, 9)};
    std::vector<uint8_t> file;
    std::string problem;
    EXPECT_FALSE(EncodeD2rSprite({}, file, problem));
    EXPECT_EQ(problem, "a sprite needs at least one frame");
    EXPECT_FALSE(EncodeD2rSprite({small, wide}, file, problem));
    EXPECT_NE(problem.find("frame 0 is 1 x 1 pixels, frame 1 2 x 1"), std::string::npos) << problem;
}
