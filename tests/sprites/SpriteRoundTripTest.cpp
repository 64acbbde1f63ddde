// unpack then pack on the real sprites: the same frames, pixels, transparency and offsets,
// and the same bytes where the file was written with the standard coding.
#include "Dc6Sprite.h"
#include "FrameImages.h"
#include "SpriteFolder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

// Files that depart from the standard coding: their frames survive, their bytes need not.
const std::set<std::string> NonStandardSprites = {
    "gf_A1L53.dc6",           // rows past the width, unreferenced bytes at the end
    "gf_inv2ax.dc6",          // bytes after the last scanline inside the frame data
    "sh_800borderframe.dc6",  // unused bytes between the frame table and frame 0
    "ap_redbutton.DC6",       // frame 0 points into the header; an unreferenced frame at the end
};

void ExpectSameFrames(const Dc6Sprite& expected, const Dc6Sprite& actual, const std::string& name) {
    EXPECT_EQ(actual.directions, expected.directions) << name;
    EXPECT_EQ(actual.framesPerDirection, expected.framesPerDirection) << name;
    ASSERT_EQ(actual.frames.size(), expected.frames.size()) << name;
    for (size_t i = 0; i < expected.frames.size(); ++i) {
        const Dc6SourceFrame& e = expected.frames[i];
        const Dc6SourceFrame& a = actual.frames[i];
        EXPECT_EQ(a.width, e.width) << name << " frame " << i;
        EXPECT_EQ(a.height, e.height) << name << " frame " << i;
        EXPECT_EQ(a.unreadablePointer, e.unreadablePointer) << name << " frame " << i;
        EXPECT_EQ(a.offsetX, e.offsetX) << name << " frame " << i;
        EXPECT_EQ(a.offsetY, e.offsetY) << name << " frame " << i;
        EXPECT_EQ(a.opaque, e.opaque) << name << " frame " << i;
        EXPECT_EQ(a.pixels, e.pixels) << name << " frame " << i;
    }
}

}  // namespace

TEST(SpriteRoundTrip, EveryRealSpriteUnpacksAndPacksBackToTheSameFrames) {
    SKIP_WITHOUT_REAL_DATA();
    const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    int identical = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "dc6")) {
        const std::string name = entry.path().filename().string();
        const std::vector<uint8_t> original = ReadBytes(entry.path());
        Dc6Sprite sprite;
        std::string problem;
        std::vector<std::string> decodeNotices;
        const Dc6Hooks hooks{nullptr, [&](const std::string& text) { decodeNotices.push_back(text); }};
        ASSERT_TRUE(DecodeDc6Sprite(original, hooks, sprite, problem)) << name << ": " << problem;
        ScratchDir folder;
        std::vector<std::string> notices;
        OutputBatch outputs;
        ASSERT_TRUE(WriteSpriteFolder(outputs, sprite, folder.Path().string(), "f", rgb, notices, problem)) << problem;
        EXPECT_TRUE(notices.empty()) << name;
        SaveFuzzSeed("ManifestFuzz", name, ReadBytes(folder / SpriteManifestName));
        Dc6Sprite packed;
        ASSERT_TRUE(ReadSpriteFolder(folder.Path().string(), rgb, DefaultAlphaThreshold, packed, problem)) << name << ": " << problem;
        std::vector<uint8_t> rebuilt;
        ASSERT_TRUE(EncodeDc6(packed, rebuilt, problem)) << problem;
        Dc6Sprite reread;
        ASSERT_TRUE(DecodeDc6Sprite(rebuilt, {}, reread, problem)) << problem;
        ExpectSameFrames(sprite, reread, name);
        if (name == "ap_redbutton.DC6") {
            EXPECT_EQ(decodeNotices.front(),
                      "Frame 0 is skipped: its size 0 x -286331154 is not an image size from 1 to 65535 pixels a side.");
            EXPECT_EQ(reread.frames[0].unreadablePointer, 4u) << "the rebuilt file points into its header the same way";
        }
        if (!NonStandardSprites.count(name)) {
            EXPECT_EQ(rebuilt, original) << name << " was written with the standard coding";
            ++identical;
        }
    }
    EXPECT_EQ(identical, 10);
}

TEST(SpriteFolder, ManifestProblemsAreNamedWithTheirLine) {
    ScratchDir folder;
    const std::string text = "DC6 sprite folder 1\nflags 1\ndirections 1\nframes-per-direction 1\n"
                             "frame 0 0 1 2 0 0 a.png\nframe 0 0 1 2 0 0 b.png\n";
    WriteBytes(folder / SpriteManifestName, std::vector<uint8_t>(text.begin(), text.end()));
    Dc6Sprite sprite;
    std::string problem;
    EXPECT_FALSE(ReadSpriteFolder(folder.Path().string(), BuiltInPalette(), DefaultAlphaThreshold, sprite, problem));
    EXPECT_NE(problem.find("manifest.txt line 6: frame 0 of direction 0 is listed twice"), std::string::npos)
        << problem;
    EXPECT_FALSE(ReadSpriteFolder((folder / "none").string(), BuiltInPalette(), DefaultAlphaThreshold, sprite, problem));
    EXPECT_NE(problem.find("can not be read: the folder is not an unpacked sprite"), std::string::npos) << problem;
}
