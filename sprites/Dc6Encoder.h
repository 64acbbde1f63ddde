#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One frame to be coded: palette indices, rows top-down, and which pixels are opaque (1) or
// transparent (0). Transparent pixels are not coded: the game leaves them undrawn.
struct Dc6SourceFrame {
    int32_t width = 0;
    int32_t height = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t flip = 0;       // header fields kept as they were read
    int32_t unknown = 0;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> opaque;
    // A frame the pointer table names but that can not be read (its pointer leads into the
    // file header or past the end, or to a size that is no image): no pixels, and its pointer
    // as the file held it, so that the file written again points the same way.
    std::optional<uint32_t> unreadablePointer;
};

// A whole sprite: frames in table order, direction after direction. DCC files decode into it
// too (DecodeDccSprite), with the header fields of a DC6 file of their frames.
struct Dc6Sprite {
    int32_t flags = 1;
    int32_t encoding = 0;
    std::array<uint8_t, 4> terminators{0xEE, 0xEE, 0xEE, 0xEE};
    // The bytes written after each frame's coded data; the game's files carry three, a few
    // files none.
    std::optional<std::array<uint8_t, 3>> frameTerminator = std::array<uint8_t, 3>{0xEE, 0xEE, 0xEE};
    int32_t directions = 1;
    int32_t framesPerDirection = 0;
    std::vector<Dc6SourceFrame> frames;
};

// Codes one frame's scanlines as the game reads them: rows bottom-up; 0x80 ends every row,
// empty rows included; 0x80|n skips n transparent pixels and n literal pixels follow a byte
// n, both at most 127; transparent pixels at the end of a row are not written.
void EncodeFrameScanlines(const Dc6SourceFrame& frame, std::vector<uint8_t>& out);

// Writes a version 6 file: header, frame pointer table, then each frame's header (its
// next-block field the offset of the following frame), coded data and frame terminator.
// An unreadable frame gets no data: its table entry keeps the pointer it had where that leads
// into the header and table, which are written from the same fields, and the frame there
// still can not be read; else it points just past the end of the file. Either way the frame
// reads as unreadable again, nothing else in its place.
// Fails with a reason when the frame count does not match directions x frames per direction
// or a frame's pixels do not match its size.
bool EncodeDc6(const Dc6Sprite& sprite, std::vector<uint8_t>& file, std::string& problem);
