// dc6tool between DC6 files and Diablo II: Resurrected sprites, on the real files: tosprite then
// topng gives the DC6's pixels in the palette's colours, scaled; a sprite made a DC6 takes the
// nearest colours and back; unpack then pack gives a sprite's bytes back.
#include "Dc6Sprite.h"
#include "PngCodec.h"
#include "RunDc6tool.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int RunQuietly(const std::vector<std::string>& args, std::string* said = nullptr) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int exit = RunDc6tool(args);
    const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    if (said)
        *said = out;
    return exit;
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

TEST(Tosprite, ADc6MadeASpriteAndADc6AgainKeepsEveryPixelsColourAndTransparency) {
    SKIP_WITHOUT_REAL_DATA();
    const Dc6Sprite dc6 = RealDc6("sh_skillicon.dc6");
    ScratchDir dir;
    ASSERT_EQ(RunQuietly({"tosprite", "-o", (dir / "icons.sprite").string(),
                          (RealDataDir() / "dc6" / "sh_skillicon.dc6").string()}), 0);
    ASSERT_EQ(RunQuietly({"fromimage", "-o", (dir / "back.dc6").string(), (dir / "icons.sprite").string()}), 0);
    Dc6Sprite back;
    std::string problem;
    ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(dir / "back.dc6"), {}, back, problem)) << problem;
    ASSERT_EQ(back.frames.size(), dc6.frames.size());
    for (size_t i = 0; i < dc6.frames.size(); ++i) {
        const Dc6SourceFrame& before = dc6.frames[i];
        const Dc6SourceFrame& after = back.frames[i];
        ASSERT_EQ(after.opaque, before.opaque) << "frame " << i;
        for (size_t p = 0; p < before.pixels.size(); ++p)
            if (before.opaque[p])
                ASSERT_TRUE(std::equal(ColourOf(before.pixels[p]), ColourOf(before.pixels[p]) + 3,
                                       ColourOf(after.pixels[p])))
                    << "frame " << i << " pixel " << p;
    }
}

TEST(FromImage, ARealSpritesPixelsBecomeTheNearestPaletteColoursWhereAtLeastHalfOpaque) {
    SKIP_WITHOUT_REAL_DATA();
    for (const char* name : {"ri_eld_rune.sprite", "ri_goldbutton.lowend.sprite"}) {
        const std::filesystem::path path = RealDataDir() / "sprite" / name;
        ScratchDir dir;
        ASSERT_EQ(RunQuietly({"unpack", "-o", dir.Path().string(), path.string()}), 0) << name;
        ASSERT_EQ(RunQuietly({"fromimage", "-o", (dir / "icon.dc6").string(), path.string()}), 0) << name;
        Dc6Sprite dc6;
        std::string problem;
        ASSERT_TRUE(DecodeDc6Sprite(ReadBytes(dir / "icon.dc6"), {}, dc6, problem)) << problem;
        std::string base = name;
        base.resize(base.size() - std::string(".sprite").size());
        for (size_t i = 0; i < dc6.frames.size(); ++i) {
            const Dc6SourceFrame& frame = dc6.frames[i];
            const DecodedPng png = PngFile(dir / base / (base + "_0_" + std::to_string(i) + ".png"));
            ASSERT_EQ(png.rgba.size(), 4 * frame.pixels.size()) << name;
            int wrong = 0;
            for (size_t p = 0; p < frame.pixels.size(); ++p) {
                const uint8_t* pixel = png.rgba.data() + 4 * p;
                int nearest = INT32_MAX;
                for (int index = 0; index < 256; ++index)
                    nearest = std::min(nearest, SquaredDistance(pixel, ColourOf(static_cast<uint8_t>(index))));
                const bool opaque = pixel[3] >= 128;
                wrong += frame.opaque[p] != opaque ||
                         (opaque && SquaredDistance(pixel, ColourOf(frame.pixels[p])) != nearest);
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
