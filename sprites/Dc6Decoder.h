#pragma once

#include "Dc6Reader.h"
#include "Image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

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
    int32_t zeroBytes = 0;     // zero code bytes, which code nothing and are skipped
    int32_t overruns = 0;      // runs past the frame's width, cut at its edge
};

// Paints the run-length coded scanlines of one frame, bottom row first, into `target` of
// `image`. `coded` starts at the frame's first coded byte and runs to the end of the loaded
// file: the coded data are `length` bytes of it, while literal runs and the terminator test
// may look past them, never past the file. A length below 1 is a damaged length field: the
// rows are then read from all the bytes there are. Pixels not painted keep their value.
//
// The game's files mark a frame's end with an end-of-line code whose second to fourth bytes
// after it are T1 T2 T3, and some frames end there with rows left uncoded. Pixels can hold
// those bytes too, so the mark is taken only where the coded data end (anywhere when their
// length is not known): a row that starts with pixels of the terminator's colour is never
// cut off.
Dc6DecodeResult DecodeFrameDC6(std::span<const uint8_t> coded, int32_t length,
                               const std::array<uint8_t, 4>& terminators, Image& image,
                               const Dc6FrameTarget& target);

// One line on what was wrong with frame `index`'s coded data, or "" when nothing was: "Frame
// 3: its 4705 bytes of coded scanlines run past the end of the file; the 1200 bytes there are
// decoded; 2 zero code bytes were skipped."
std::string FrameNotice(int32_t index, const Dc6FrameInfo& frame, const Dc6DecodeResult& result);
