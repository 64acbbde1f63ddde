#pragma once

#include "Dc6Encoder.h"
#include "Image.h"
#include "Palette.h"
#include "PngCodec.h"

#include <cstdint>
#include <optional>
#include <string>

// A frame as an indexed image: its transparent pixels all get one index that no opaque pixel
// of the frame uses, `preferred` (the file's background index) when it is free, else the
// lowest free one. `sharedIndex` tells that the frame uses all 256 indices, so that its
// transparent pixels had to share `preferred` with opaque ones.
struct FrameAsImage {
    Image image;
    uint8_t transparentIndex = 0;
    bool sharedIndex = false;
};
FrameAsImage ImageOfFrame(const Dc6SourceFrame& frame, uint8_t preferred);

// The same for a frame decoded twice, into `painted` over `background` and into `check` over
// background ^ 0xFF: the pixels the coded data leave alone are those that differ. `painted`
// is taken over; its pixels change only where the background index is also painted.
FrameAsImage ImageOfDecodedFrame(Image&& painted, const Image& check, uint8_t background);

// A frame from a decoded PNG. Colours are mapped to `rgbPalette` (red, green, blue), an
// exact match first, else the nearest colour; an indexed image keeps an index where its
// palette entry is the colour `rgbPalette` has at that index (paint programs rewrite the
// palette, dropping and reordering entries, so an index alone does not name a colour).
// Pixels whose alpha (or tRNS entry) is below `alphaThreshold` become transparent, all
// others opaque: a DC6 pixel is drawn or not. The offsets come from the PNG's oFFs chunk.
void FrameFromPng(const DecodedPng& png, const Palette& rgbPalette, uint8_t alphaThreshold, Dc6SourceFrame& frame);

// Below one half: the anti-aliased edge of a figure drawn on a transparent background keeps
// its inner half and loses the faint outer half, instead of a halo of background colour.
constexpr uint8_t DefaultAlphaThreshold = 128;

// The index topcx filled an image's undrawn pixels with, told from its pixels: PCX has no
// transparency, and topcx writes the header the game's tools write, which has no field for
// it (a paint program would rewrite one anyway). topcx fills with the DC6 header's
// background byte, 238, 205 or 0 in the game's files; of these the image's most frequent is
// taken (238 before 205 before 0 on a tie), since a frame's undrawn margin outnumbers the
// painted pixels of those indices. None when the image holds none of them.
std::optional<uint8_t> TopcxBackgroundIndex(const Image& image);

// A frame from an 8-bit image of palette indices, all pixels opaque except those of
// `transparentIndex` when given.
void FrameFromIndexedImage(const Image& image, std::optional<uint8_t> transparentIndex, Dc6SourceFrame& frame);
