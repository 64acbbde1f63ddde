#pragma once

#include "Dc6Hooks.h"
#include "Image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// Where one frame is painted: a rectangle of an image.
struct Dc6FrameTarget {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// What decoding one frame met, for reports on damaged files.
struct Dc6DecodeResult {
    bool painted = false;      // false when the target rectangle does not lie inside the image
    bool terminated = false;   // an end-of-line code followed by T1 T2 T3 ended the frame
    int32_t linesEnded = 0;    // end-of-line codes read, the one that ended the frame included
    size_t bytesRead = 0;      // coded bytes consumed
    int32_t notices = 0;       // ZERO-byte and overrun notices shown
};

// Paints the run-length coded scanlines of one frame, bottom row first, into `target` of
// `image`. `coded` starts at the frame's first coded byte and runs to the end of the loaded
// file: the coded data are `length` bytes of it, while literal runs and the terminator test
// may look past them, never past the file. Pixels not painted keep their value. Every zero
// code byte and every run past the frame's width is reported through hooks.ShowNotice.
Dc6DecodeResult DecodeFrameDC6(std::span<const uint8_t> coded, int32_t length,
                               const std::array<uint8_t, 4>& terminators, Image& image,
                               const Dc6FrameTarget& target, const Dc6Hooks& hooks);
