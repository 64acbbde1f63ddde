#pragma once

#include "Image.h"
#include "Palette.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// PNG files through libpng. The converter writes 8-bit indexed PNGs with the run's palette,
// one index made transparent through tRNS, and the frame's offsets in an oFFs chunk (in
// pixels); it reads any PNG, keeping the indices of indexed ones.

struct PngFrameOffsets {
    int32_t x = 0;
    int32_t y = 0;
};

// What EncodeIndexedPng writes.
struct IndexedPngImage {
    const Image* image = nullptr;
    const Palette* rgbPalette = nullptr;        // red, green, blue per entry
    std::optional<uint8_t> transparentIndex;    // the index tRNS makes fully transparent
    std::optional<PngFrameOffsets> offsets;     // written as oFFs when present
};

bool EncodeIndexedPng(const IndexedPngImage& image, std::vector<uint8_t>& png, std::string& problem);

// An 8-bit red, green, blue, alpha PNG of the image, as a sprite's frames are written.
bool EncodeRgbaPng(const RgbaImage& image, std::vector<uint8_t>& png, std::string& problem);

// Whether deflate earns its cost on the image: whether run-length deflate is expected to save
// a quarter of its bytes or more. Its coding costs some 7 ns a byte, ten times the rest of a
// conversion, and saves little on noise-like images (dithering, random fills), which are
// stored uncompressed instead; sprite art with transparent areas saves far more.
bool WorthCompressing(const Image& image);

// A PNG as read. Indexed images (any bit depth) keep their indices in `indices`, their
// palette in `palette` (red, green, blue, alpha per entry, alpha from tRNS or 255); every
// other kind is given as red, green, blue, alpha per pixel in `rgba`.
struct DecodedPng {
    int32_t width = 0;
    int32_t height = 0;
    bool indexed = false;
    std::vector<uint8_t> indices;
    std::vector<uint8_t> rgba;
    std::vector<std::array<uint8_t, 4>> palette;
    std::optional<PngFrameOffsets> offsets;  // from an oFFs chunk in pixels
};

// Fails with a reason on a file that is not a PNG, is damaged, or whose size is not an image
// the converter makes (ImageSizeAllowed).
bool DecodePng(std::span<const uint8_t> png, DecodedPng& decoded, std::string& problem);

// Reads and decodes the PNG file at `path` (UTF-8); `problem` names the file and says why not.
bool ReadPngFile(const std::string& path, DecodedPng& decoded, std::string& problem);

// The decoded image as red, green, blue, alpha: an indexed image's pixels take their palette
// entry's colour and alpha; an index past the palette's end shows opaque black, as libpng
// shows it.
RgbaImage RgbaOfPng(const DecodedPng& png);

// Whether the bytes start with the PNG signature.
bool LooksLikePng(std::span<const uint8_t> bytes);
