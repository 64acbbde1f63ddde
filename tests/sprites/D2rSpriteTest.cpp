// Diablo II: Resurrected sprites: the real files read as ImageMagick reads their pixel strip and
// written back byte for byte, strips with room to spare, damaged files refused by every command
// with the file's name and what is wrong; and dc6tool between them and DC6 files: tosprite then
// topng gives a real DC6's pixels in the palette's colours, scaled; a sprite made a DC6 and a
// sprite again has the nearest colours; unpack then pack gives a sprite's bytes back.
#include "D2rSprite.h"
#include "Dc6Sprite.h"
#include "PngCodec.h"
#include "RunDc6tool.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// dc6tool's exit status, with what it printed to standard output and standard error in `said`.
int RunQuietly(const std::vector<std::string>& args, std::string* said = nullptr) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int exit = RunDc6tool(args);
    const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    if (said)
        *said = out;
    return exit;
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

Dc6Sprite RealDc6(const std::string& name) {
    Dc6Sprite sprite;
    std::string problem;
    EXPECT_TRUE(DecodeDc6Sprite(ReadBytes(RealDataDir() / "dc6" / name), {}, sprite, problem)) << problem;
    return sprite;
}

DecodedPng PngFile(const std::filesystem::path& path) {
    DecodedPng png;
    std::string problem;
    EXPECT_TRUE(DecodePng(ReadBytes(path), png, problem)) << path << ": " << problem;
    return png;
}

const uint8_t* ColourOf(uint8_t index) {
    static const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    return rgb.data() + 3 * index;
}

int SquaredDistance(const uint8_t* a, const uint8_t* b) {
    int sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    return sum;
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
    std::string info;
    EXPECT_EQ(RunQuietly({"info", (dir / "spare.sprite").string()}, &info), 0);
    EXPECT_NE(info.find("columns 4 to 4 of the strip lie right of the last frame"), std::string::npos) << info;
    EXPECT_NE(info.find("7 byte(s) after the pixels are not read"), std::string::npos) << info;
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
            std::string said;
            EXPECT_EQ(RunQuietly(args, &said), 1) << c.name << " " << args[0] << ": " << said;
            EXPECT_NE(said.find(path + ": "), std::string::npos) << c.name << " " << args[0] << ": " << said;
            EXPECT_NE(said.find(c.problem), std::string::npos) << c.name << " " << args[0] << ": " << said;
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

TEST(Tosprite, TopngOfTheSpriteGivesEachDc6PixelInThePalettesColourScaled) {
    SKIP_WITHOUT_REAL_DATA();
    struct Case {
        const char* name;
        int scale;
        int cellWidth;              // before scaling
        std::vector<int> frameLeft;  // each frame's left column in its cell, the same for every second one
    };
    // sh_hlthmana's frames are 80 x 80 at offsets (139, 10) and (-137, 10) by turns.
    for (const Case& c : {Case{"gf_invtok2_dgr.dc6", 1, 28, {0}}, Case{"gf_invtok2_dgr.dc6", 3, 28, {0}},
                          Case{"sh_skillicon.dc6", 2, 48, {0}}, Case{"sh_hlthmana.dc6", 1, 356, {276, 0}}}) {
        const Dc6Sprite dc6 = RealDc6(c.name);
        ScratchDir dir;
        const std::string sprite = (dir / "made.sprite").string();
        ASSERT_EQ(RunQuietly({"tosprite", "--scale", std::to_string(c.scale), "-o", sprite,
                              (RealDataDir() / "dc6" / c.name).string()}), 0) << c.name;
        ASSERT_EQ(RunQuietly({"topng", "-o", dir.Path().string(), sprite}), 0) << c.name;
        for (size_t i = 0; i < dc6.frames.size(); ++i) {
            const Dc6SourceFrame& frame = dc6.frames[i];
            const DecodedPng png = PngFile(dir / "PNGFiles" / ("made" + std::to_string(i) + ".png"));
            ASSERT_EQ(png.width, c.cellWidth * c.scale) << c.name << " frame " << i;
            ASSERT_EQ(png.height, frame.height * c.scale) << c.name << " frame " << i;
            const int left = c.frameLeft[i % c.frameLeft.size()];
            int wrong = 0;
            for (int y = 0; y < png.height; ++y) {
                for (int x = 0; x < png.width; ++x) {
                    const int sourceX = x / c.scale - left, sourceY = y / c.scale;
                    const size_t source = size_t(sourceY) * size_t(frame.width) + size_t(sourceX);
                    const bool opaque = sourceX >= 0 && sourceX < frame.width && frame.opaque[source];
                    const uint8_t* pixel = png.rgba.data() + 4 * (size_t(y) * size_t(png.width) + size_t(x));
                    const bool right = opaque ? std::equal(pixel, pixel + 3, ColourOf(frame.pixels[source])) &&
                                                    pixel[3] == 255
                                              : pixel[3] == 0;
                    wrong += !right;
                }
            }
            EXPECT_EQ(wrong, 0) << c.name << " scaled " << c.scale << " frame " << i;
        }
    }
}

TEST(FromImage, ARealSpriteMadeADc6AndASpriteAgainTakesTheNearestPaletteColoursWhereAtLeastHalfOpaque) {
    SKIP_WITHOUT_REAL_DATA();
    for (const char* name : {"ri_eld_rune.sprite", "ri_goldbutton.lowend.sprite"}) {
        const std::filesystem::path path = RealDataDir() / "sprite" / name;
        ScratchDir dir;
        ASSERT_EQ(RunQuietly({"fromimage", "-o", (dir / "icon.dc6").string(), path.string()}), 0) << name;
        ASSERT_EQ(RunQuietly({"tosprite", (dir / "icon.dc6").string()}), 0) << name;
        std::vector<RgbaImage> before, after;
        std::string problem;
        ASSERT_TRUE(DecodeD2rSprite(ReadBytes(path), before, problem)) << problem;
        ASSERT_TRUE(DecodeD2rSprite(ReadBytes(dir / "icon.sprite"), after, problem)) << problem;
        ASSERT_EQ(after.size(), before.size()) << name;
        for (size_t i = 0; i < before.size(); ++i) {
            ASSERT_EQ(after[i].pixels.size(), before[i].pixels.size()) << name;
            int wrong = 0;
            for (size_t p = 0; p < before[i].pixels.size(); p += 4) {
                const uint8_t* original = before[i].pixels.data() + p;
                const uint8_t* back = after[i].pixels.data() + p;
                int nearest = INT32_MAX;
                for (int index = 0; index < 256; ++index)
                    nearest = std::min(nearest, SquaredDistance(original, ColourOf(static_cast<uint8_t>(index))));
                wrong += original[3] >= 128 ? back[3] != 255 || SquaredDistance(original, back) != nearest
                                            : back[3] != 0;
            }
            EXPECT_EQ(wrong, 0) << name << " frame " << i;
        }
    }
}

TEST(UnpackPack, ARealSpriteUnpackedAndPackedIsTheSameFile) {
    SKIP_WITHOUT_REAL_DATA();
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "sprite")) {
        ScratchDir dir;
        std::string base = entry.path().filename().string();
        base.resize(base.size() - std::string(".sprite").size());
        ASSERT_EQ(RunQuietly({"unpack", "-o", dir.Path().string(), entry.path().string()}), 0) << base;
        ASSERT_EQ(RunQuietly({"pack", "-o", (dir / "back.SPRITE").string(), (dir / base).string()}), 0) << base;
        EXPECT_EQ(ReadBytes(dir / "back.SPRITE"), ReadBytes(entry.path())) << base;
    }
}

TEST(Tosprite, HelpShowsItAndSillyScalesAreRefused) {
    std::string said;
    EXPECT_EQ(RunQuietly({"--help"}, &said), 0);
    EXPECT_NE(said.find("dc6tool tosprite [-o OUT.sprite] [--scale N]"), std::string::npos) << said;
    EXPECT_EQ(RunQuietly({"tosprite", "--help"}, &said), 0);
    EXPECT_NE(said.find("--scale N       every pixel becomes N x N pixels"), std::string::npos) << said;
    EXPECT_EQ(said.find("--jobs"), std::string::npos) << said;
    for (const char* scale : {"0", "17", "-2", "2.5", "x", "4x"}) {
        EXPECT_EQ(RunQuietly({"tosprite", "--scale", scale, "a.dc6"}, &said), 2) << scale;
        EXPECT_NE(said.find(std::string("--scale takes a whole number from 1 to 16, not \"") + scale + "\""),
                  std::string::npos)
            << said;
    }
    EXPECT_EQ(RunQuietly({"tosprite", "-o", "a.sprite", "a.dc6", "b.dc6"}, &said), 2);
    EXPECT_NE(said.find("tosprite -o takes one DC6 file"), std::string::npos) << said;
}

TEST(Tosprite, ASpriteLargerThanTheConverterMakesIsRefusedWritingNothing) {
    SKIP_WITHOUT_REAL_DATA();
    ScratchDir dir;
    const std::string dc6 = (RealDataDir() / "dc6" / "sh_loadingscreen.dc6").string();
    std::string said;
    EXPECT_EQ(RunQuietly({"tosprite", "--scale", "16", "-o", (dir / "big.sprite").string(), dc6}, &said), 1);
    EXPECT_EQ(said, dc6 + ": 10 frame(s) of 256 x 256 pixels, scaled by 16, make no sprite the converter makes: its "
                          "strip must be 1 to 65535 pixels a side, at most 67108864 pixels in all\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "big.sprite"));
}
