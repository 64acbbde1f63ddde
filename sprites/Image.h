#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An 8-bit palette-index image, rows top-down, each row `width` bytes after the last.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;

    uint8_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    const uint8_t* Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// A true-colour image, rows top-down, four bytes a pixel: red, green, blue, alpha.
struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// Longest side of an image: what the 16-bit fields of a PCX header hold.
constexpr int32_t MaxImageSide = 65535;

// Largest image the converter makes: 64 Mi pixels (8192 x 8192), so that an image and its
// PCX block stay within reach of a 32-bit process.
constexpr size_t MaxImagePixels = size_t(1) << 26;

// Whether an image of width x height pixels can be made: both sides 1 to MaxImageSide and no
// more than MaxImagePixels in all.
bool ImageSizeAllowed(int64_t width, int64_t height);

// An image every pixel of which is `background`. Fails when the size is not allowed or the
// memory cannot be had.
bool MakeImage(int64_t width, int64_t height, uint8_t background, Image& image);
