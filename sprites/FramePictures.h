#pragma once

#include "Palette.h"
#include "SpriteFile.h"

#include <cstdint>
#include <vector>

// Decoded frames as true-colour pictures: the preview of Morvane Convert (a frame over a
// checkerboard) and the thumbnails of Dunmore (a frame with transparency).

// Four bytes a pixel: blue, green, red, alpha, rows top-down: what a Windows DIB section of
// 32 bits holds, so the pictures go to the screen as they are.
struct BgraImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// The rectangle, in the game's coordinates, that holds every frame of one direction placed
// where the game draws it (the offsets place a frame's bottom-left corner): an animation's
// frames keep their places in it as they are played. Frames without pixels take no room; a
// direction without any is the 1 x 1 rectangle at 0, 0.
struct FrameCell {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 1;
    int32_t height = 1;
};
FrameCell DirectionCell(const DecodedSprite& sprite, int32_t direction);

// Paints the whole of `picture` (its size set by the caller): the cell, scaled to fit and
// centred, with `frame` in its place in it, over a checkerboard that shows through where the
// frame is transparent. A cell smaller than the picture is enlarged by a whole number, so
// that every sprite pixel stays a square; a larger one is shrunk, nearest pixel. `bgr` is the
// palette, blue, green, red.
void DrawOnCheckerboard(const SpriteFrame& frame, const FrameCell& cell, const Palette& bgr, BgraImage& picture);

// The frame within `side` x `side` pixels, keeping its shape: shrunk (nearest pixel) when it
// is larger, as it is when not. Alpha is 255 where the frame is drawn and 0, with black,
// where it is not: premultiplied as well as straight. Fails for a frame without pixels or a
// side below 1.
bool ThumbnailOfFrame(const SpriteFrame& frame, const Palette& bgr, int32_t side, BgraImage& thumbnail);
