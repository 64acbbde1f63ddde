#pragma once

#include "Image.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Diablo II: Resurrected's interface sprites (.sprite), laid out as the game's files are:
//
//   0   "SpA1"
//   4   version, 16 bits: 31 in every file seen, whose pixels are stored uncompressed
//   6   frame width, 16 bits
//   8   strip width, 32 bits: the length of a pixel row, every frame's columns included
//   12  height, 32 bits
//   16  32 bits, 0 in every file seen
//   20  frame count, 32 bits
//   24  16 bytes, zero in every file seen
//   40  strip width x height pixels of red, green, blue, alpha, rows top-down
//
// The frames lie side by side in the strip: frame i takes the frame width's columns from
// i x frame width. Columns right of the last frame and bytes after the pixels are not read.

constexpr size_t D2rSpriteHeaderSize = 40;
constexpr uint16_t D2rSpriteVersion = 31;

struct D2rSpriteHeader {
    uint16_t version = 0;
    uint16_t frameWidth = 0;
    uint32_t stripWidth = 0;
    uint32_t height = 0;
    uint32_t unknown = 0;   // the 32 bits at 16
    uint32_t frameCount = 0;
    bool zeroTail = true;   // whether bytes 24 to 39 are all zero

    size_t PixelBytes() const { return size_t(stripWidth) * height * 4; }
};

// Whether the bytes start with the sprite's magic "SpA1".
bool LooksLikeD2rSprite(std::span<const uint8_t> bytes);

// Reads and checks the header: fails with a reason when the file is no sprite, is cut short,
// is of another version, holds no frames, when its strip is no image the converter makes
// (ImageSizeAllowed), when the frames do not fit in the strip or the pixels are not all there.
// `header` then holds what could be read.
bool ReadD2rSpriteHeader(std::span<const uint8_t> file, D2rSpriteHeader& header, std::string& problem);

// Every frame as an image of frame width x height pixels, in strip order.
bool DecodeD2rSprite(std::span<const uint8_t> file, std::vector<RgbaImage>& frames, std::string& problem);

// Writes the frames side by side as the game's files hold them: version 31, the strip exactly
// as wide as the frames, the unknown field and the tail zero. Fails with a reason when there
// are no frames, they differ in size, or the strip would be no image the converter makes.
bool EncodeD2rSprite(const std::vector<RgbaImage>& frames, std::vector<uint8_t>& file, std::string& problem);
