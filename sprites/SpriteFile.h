#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A sprite file decoded for showing it, whatever its format: Morvane Convert's preview and
// Dunmore's thumbnails read every file through DecodeSpriteFile, so that a new format is
// added there alone.

// One frame: palette indices and which of them are drawn, rows top-down. The offsets place
// the frame's bottom-left corner where the game draws it.
struct SpriteFrame {
    int32_t width = 0;
    int32_t height = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> opaque;  // 1 where the frame is drawn, 0 where it is transparent
    // Why the frame has no pixels (damaged, or past what one file may decode); empty when it has.
    std::string problem;
};

// Directions x frames, direction after direction.
struct DecodedSprite {
    int32_t directions = 0;
    int32_t framesPerDirection = 0;
    std::vector<SpriteFrame> frames;

    const SpriteFrame& At(int32_t direction, int32_t frame) const {
        return frames[static_cast<size_t>(direction) * static_cast<size_t>(framesPerDirection) +
                      static_cast<size_t>(frame)];
    }
};

enum class SpriteFrames {
    First,  // the first frame of the first direction only: a thumbnail
    All,
};

// What one file may cost, so that a huge or damaged file answers as quickly as a game file:
// its size, its number of frames, the pixels of its frames and the coded bytes they go
// through (a damaged frame may point at data that others point at too). Frames past the pixel
// or byte budget are left undecoded, with a problem saying so.
constexpr size_t MaxSpriteFileBytes = size_t(32) << 20;
constexpr int64_t MaxSpriteFrames = 8192;
constexpr size_t MaxDecodedSpritePixels = size_t(1) << 22;
constexpr size_t MaxDecodedSpriteBytes = size_t(32) << 20;

// Decodes `bytes`, the whole of the file `fileName` (its extension tells the format: .dcc
// for DCC animations, DC6 otherwise). Fails with a message ("DC6 file is not version 6...")
// when the file can not be read at all; a frame that can not be read only gets its problem.
bool DecodeSpriteFile(std::span<const uint8_t> bytes, std::string_view fileName, SpriteFrames which,
                      DecodedSprite& sprite, std::string& problem);
