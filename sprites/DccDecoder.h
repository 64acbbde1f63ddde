#pragma once

#include "DccReader.h"
#include "Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// How many bits of each stream decoding left unread: a sound direction uses its streams to
// the bit, the pixel codes to its last byte.
struct DccStreamsLeft {
    uint64_t equalCells = 0;
    uint64_t pixelMask = 0;
    uint64_t encodingType = 0;
    uint64_t rawPixels = 0;
    uint64_t pixelCodes = 0;
};

// Decodes every frame of one direction (read by GetFileInfoDcc) as the game does. The
// direction's plane is cut into cells of 4 x 4 pixels from its box's top left corner; each
// frame is cut along the same lines, its first column and row up to the next line and a last
// one of 1 pixel joined to the cell before it. A cell holds at most four colours: the first
// time a plane cell is met its colours are read; later, a cell either equals the one before
// (its pixels copied from where that one was drawn, or cleared when its size differs), or
// keeps the colours that its 4-bit mask leaves and reads the others; then each pixel is 0, 1
// or 2 bits choosing one of them. `frames` gets one image per frame, the size of its box,
// of palette indices (0 is transparent). Fails with a reason ("frame 4: the pixel codes end
// before its cells are drawn") when a stream ends early or a pixel code names no colour.
bool DecodeDccDirection(std::span<const uint8_t> file, const DccDirection& direction, std::vector<Image>& frames,
                        std::string& problem, DccStreamsLeft* left = nullptr);
