// Sprite files decoded for showing them (the preview and the thumbnails), and the pictures
// made of their frames.
#include "ConvertFile.h"
#include "Dc6Builder.h"
#include "DccSprite.h"
#include "FramePictures.h"
#include "SpriteFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

SpriteFrame FrameOf(int32_t width, int32_t height, std::vector<uint8_t> pixels, std::vector<uint8_t> opaque) {
    SpriteFrame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels = std::move(pixels);
    frame.opaque = std::move(opaque);
    return frame;
}

std::vector<uint8_t> Bgra(const Palette& bgr, uint8_t index) {
    return {bgr[3 * index], bgr[3 * index + 1], bgr[3 * index + 2], 0xFF};
}

std::vector<uint8_t> PixelAt(const BgraImage& image, int32_t x, int32_t y) {
    const auto at = image.pixels.begin() + 4 * (static_cast<size_t>(y) * image.width + x);
    return {at, at + 4};
}

}  // namespace

// Every frame shows what the conversion writes: the same index where the frame is drawn, the
// file's background where the conversion fills undrawn pixels.
TEST(SpriteFile, RealDc6FramesMatchTheConvertedFrames) {
    SKIP_WITHOUT_REAL_DATA();
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "dc6")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadBytes(entry.path());
        SaveFuzzSeed("SpriteThumbnailFuzz", "real-" + name, bytes);
        DecodedSprite sprite;
        std::string problem;
        ASSERT_TRUE(DecodeSpriteFile(bytes, name, SpriteFrames::All, sprite, problem)) << problem;
        Dc6FileInfo info;
        ASSERT_TRUE(GetFileInfoDC6(bytes, {}, info, Dc6FrameScope::AllFrames));
        ASSERT_EQ(sprite.frames.size(), static_cast<size_t>(info.FrameCount()));
        for (int32_t i = 0; i < info.FrameCount(); ++i) {
            const SpriteFrame& frame = sprite.frames[static_cast<size_t>(i)];
            Image converted;
            ASSERT_EQ(RenderFrame(bytes, info, i, {}, converted), frame.problem.empty()) << "frame " << i;
            if (!frame.problem.empty())
                continue;
            ASSERT_EQ(frame.width, converted.width);
            ASSERT_EQ(frame.height, converted.height);
            for (size_t p = 0; p < frame.pixels.size(); ++p)
                ASSERT_EQ(frame.opaque[p] ? frame.pixels[p] : info.Background(), converted.pixels[p])
                    << "frame " << i << " pixel " << p;
        }
    }
}

// A DCC file shows the frames the converter writes, direction after direction.
TEST(SpriteFile, RealDccFramesMatchTheConvertedFrames) {
    SKIP_WITHOUT_REAL_DATA();
    for (const auto& entry : std::filesystem::directory_iterator(RealDataDir() / "dcc")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadBytes(entry.path());
        SaveFuzzSeed("SpriteThumbnailFuzz", "real-" + name, bytes);
        DecodedSprite sprite;
        Dc6Sprite converted;
        std::string problem;
        ASSERT_TRUE(DecodeSpriteFile(bytes, name, SpriteFrames::All, sprite, problem)) << problem;
        ASSERT_TRUE(DecodeDccSprite(bytes, Dc6FrameScope::AllFrames, converted, problem)) << problem;
        ASSERT_EQ(sprite.frames.size(), converted.frames.size());
        for (size_t i = 0; i < sprite.frames.size(); ++i) {
            EXPECT_EQ(sprite.frames[i].pixels, converted.frames[i].pixels) << "frame " << i;
            EXPECT_EQ(sprite.frames[i].offsetY, converted.frames[i].offsetY) << "frame " << i;
        }
    }
}

TEST(SpriteFile, FilesThatCanNotBeShownSayWhy) {
    Dc6TestFile many;
    many.frames.assign(static_cast<size_t>(MaxSpriteFrames) + 1, Dc6TestFrame{1, 1, 0, 0, SolidFrameCode(1, 1, 7)});
    Dc6TestFile wrongVersion;
    wrongVersion.version = 5;
    wrongVersion.frames.push_back({1, 1, 0, 0, SolidFrameCode(1, 1, 7)});
    const struct {
        std::vector<uint8_t> bytes;
        std::string name;
        std::string problem;
    } cases[] = {
        {std::vector<uint8_t>(MaxSpriteFileBytes + 1), "huge.dc6", "The file is 33554433 bytes long; files up to "
                                                                  "33554432 bytes are shown."},
        {{0x74, 6, 1}, "missile.DCC",
         "The DCC file can not be read: the file is 3 bytes long, shorter than the 15-byte DCC header."},
        {wrongVersion.Bytes(), "old.dc6", "DC6 file is not version 6 and can not be converted!"},
        {many.Bytes(), "many.dc6", "The file has 8193 frames; at most 8192 are shown."},
    };
    for (const auto& c : cases) {
        DecodedSprite sprite;
        std::string problem;
        EXPECT_FALSE(DecodeSpriteFile(c.bytes, c.name, SpriteFrames::All, sprite, problem)) << c.name;
        EXPECT_EQ(problem, c.problem);
    }
}

// A file of frames larger in all than one file may decode: the first frames are decoded, the
// rest say why not. A thumbnail decodes the first frame alone.
TEST(SpriteFile, FramesPastTheBudgetAreLeftUndecoded) {
    Dc6TestFile file;
    file.frames.assign(3, Dc6TestFrame{2048, 1024, 0, 0, SolidFrameCode(2048, 1024, 9)});
    const std::vector<uint8_t> bytes = file.Bytes();
    DecodedSprite sprite;
    std::string problem;
    ASSERT_TRUE(DecodeSpriteFile(bytes, "large.dc6", SpriteFrames::All, sprite, problem));
    ASSERT_EQ(sprite.frames.size(), 3u);
    EXPECT_EQ(sprite.frames[1].pixels.size(), 2048u * 1024u);
    EXPECT_TRUE(sprite.frames[2].pixels.empty());
    EXPECT_NE(sprite.frames[2].problem.find("not decoded"), std::string::npos) << sprite.frames[2].problem;

    ASSERT_TRUE(DecodeSpriteFile(bytes, "large.dc6", SpriteFrames::First, sprite, problem));
    EXPECT_EQ(sprite.frames.size(), 1u);
    EXPECT_EQ(sprite.directions * sprite.framesPerDirection, 1);
}

TEST(FramePictures, TheCellHoldsEveryFrameOfTheDirectionWhereTheGameDrawsIt) {
    DecodedSprite sprite;
    sprite.directions = 2;
    sprite.framesPerDirection = 2;
    sprite.frames = {FrameOf(2, 2, {1, 1, 1, 1}, {1, 1, 1, 1}), FrameOf(2, 2, {1, 1, 1, 1}, {1, 1, 1, 1}),
                     FrameOf(1, 1, {1}, {1}), SpriteFrame{}};
    sprite.frames[1].offsetX = 3;
    sprite.frames[1].offsetY = 1;
    const FrameCell first = DirectionCell(sprite, 0);
    EXPECT_EQ((std::vector<int32_t>{first.left, first.top, first.width, first.height}),
              (std::vector<int32_t>{0, -2, 5, 3}));
    const FrameCell second = DirectionCell(sprite, 1);
    EXPECT_EQ((std::vector<int32_t>{second.left, second.top, second.width, second.height}),
              (std::vector<int32_t>{0, -1, 1, 1}));
}

TEST(FramePictures, TheCheckerboardShowsWhereTheFrameIsTransparent) {
    const Palette& bgr = BuiltInPalette();
    const SpriteFrame frame = FrameOf(2, 1, {12, 12}, {1, 0});
    BgraImage picture;
    picture.width = 20;
    picture.height = 10;
    DrawOnCheckerboard(frame, FrameCell{0, -1, 2, 1}, bgr, picture);
    // Enlarged ten times: the drawn pixel fills the left half, the checkerboard the right one.
    EXPECT_EQ(PixelAt(picture, 0, 0), Bgra(bgr, 12));
    EXPECT_EQ(PixelAt(picture, 9, 9), Bgra(bgr, 12));
    EXPECT_EQ(PixelAt(picture, 10, 0), (std::vector<uint8_t>{0xCC, 0xCC, 0xCC, 0xFF}));
    EXPECT_EQ(PixelAt(picture, 16, 0), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(FramePictures, ThumbnailsShrinkToTheSideAskedAndAreTransparentWhereTheFrameIs) {
    const Palette& bgr = BuiltInPalette();
    const SpriteFrame frame = FrameOf(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 0, 1, 1, 1, 1, 1, 1});
    BgraImage thumbnail;
    ASSERT_TRUE(ThumbnailOfFrame(frame, bgr, 256, thumbnail));
    EXPECT_EQ(thumbnail.width * 10 + thumbnail.height, 42) << "a small frame is not enlarged";
    EXPECT_EQ(PixelAt(thumbnail, 1, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(PixelAt(thumbnail, 3, 1), Bgra(bgr, 8));

    ASSERT_TRUE(ThumbnailOfFrame(frame, bgr, 2, thumbnail));
    EXPECT_EQ(thumbnail.width * 10 + thumbnail.height, 21);
    EXPECT_EQ(PixelAt(thumbnail, 0, 0), Bgra(bgr, 1));
    EXPECT_EQ(PixelAt(thumbnail, 1, 0), Bgra(bgr, 3));

    EXPECT_FALSE(ThumbnailOfFrame(frame, bgr, 0, thumbnail));
    EXPECT_FALSE(ThumbnailOfFrame(SpriteFrame{}, bgr, 64, thumbnail));
}
