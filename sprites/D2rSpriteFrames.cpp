#include "D2rSpriteFrames.h"

#include "FrameImages.h"
#include "PngCodec.h"
#include "TextFormat.h"

#include <algorithm>
#include <limits>

namespace {

// The smallest rectangle that holds every readable frame where the game draws it.
struct Cell {
    int64_t left = std::numeric_limits<int64_t>::max();
    int64_t top = std::numeric_limits<int64_t>::max();
    int64_t right = std::numeric_limits<int64_t>::min();
    int64_t bottom = std::numeric_limits<int64_t>::min();

    void Take(const Dc6SourceFrame& frame) {
        left = std::min<int64_t>(left, frame.offsetX);
        right = std::max<int64_t>(right, int64_t{frame.offsetX} + frame.width);
        top = std::min<int64_t>(top, int64_t{frame.offsetY} - frame.height);
        bottom = std::max<int64_t>(bottom, frame.offsetY);
    }
    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
};

// Paints the frame's opaque pixels into `image`, each as a scale x scale block, its top-left
// pixel at (x, y) before scaling.
void PaintScaled(const Dc6SourceFrame& frame, const Palette& rgb, int64_t x, int64_t y, int64_t scale,
                 RgbaImage& image) {
    const size_t stride = size_t(image.width) * 4;
    std::vector<uint8_t> row;
    for (int32_t sourceY = 0; sourceY < frame.height; ++sourceY) {
        const size_t first = size_t(sourceY) * size_t(frame.width);
        const size_t targetY = size_t((y + sourceY) * scale);
        uint8_t* target = image.pixels.data() + targetY * stride + size_t(x * scale) * 4;
        row.assign(target, target + size_t(frame.width * scale) * 4);
        for (int32_t sourceX = 0; sourceX < frame.width; ++sourceX) {
            if (!frame.opaque[first + size_t(sourceX)])
                continue;
            const uint8_t* colour = rgb.data() + 3 * frame.pixels[first + size_t(sourceX)];
            for (int64_t copy = 0; copy < scale; ++copy) {
                uint8_t* pixel = row.data() + size_t(sourceX * scale + copy) * 4;
                std::copy(colour, colour + 3, pixel);
                pixel[3] = 255;
            }
        }
        for (int64_t copy = 0; copy < scale; ++copy)
            std::copy(row.begin(), row.end(), target + size_t(copy) * stride);
    }
}

}  // namespace

bool SpriteFramesFromDc6(const Dc6Sprite& dc6, const Palette& rgbPalette, int32_t scale,
                         std::vector<RgbaImage>& frames, std::string& problem) {
    Cell cell;
    size_t readable = 0;
    for (const Dc6SourceFrame& frame : dc6.frames) {
        if (!frame.unreadablePointer) {
            cell.Take(frame);
            ++readable;
        }
    }
    if (readable == 0) {
        problem = "it has no frame that can be read";
        return false;
    }
    // Each factor is checked before it is multiplied, so that no product overflows.
    if (scale < 1 || scale > MaxImageSide || readable > size_t(MaxImageSide) ||
        !ImageSizeAllowed(cell.Width(), cell.Height()) ||
        !ImageSizeAllowed(cell.Width() * scale * static_cast<int64_t>(readable), cell.Height() * scale)) {
        problem = FormatText("%zu frame(s) of %lld x %lld pixels, scaled by %d, make no sprite the converter makes: "
                             "its strip must be 1 to %d pixels a side, at most %zu pixels in all",
                             readable, static_cast<long long>(cell.Width()), static_cast<long long>(cell.Height()),
                             static_cast<int>(scale), static_cast<int>(MaxImageSide), MaxImagePixels);
        return false;
    }
    std::vector<RgbaImage> made;
    for (const Dc6SourceFrame& frame : dc6.frames) {
        if (frame.unreadablePointer)
            continue;
        RgbaImage& image = made.emplace_back();
        image.width = static_cast<int32_t>(cell.Width() * scale);
        image.height = static_cast<int32_t>(cell.Height() * scale);
        image.pixels.assign(size_t(image.width) * size_t(image.height) * 4, 0);
        PaintScaled(frame, rgbPalette, frame.offsetX - cell.left, int64_t{frame.offsetY} - frame.height - cell.top,
                    scale, image);
    }
    frames = std::move(made);
    return true;
}

void Dc6FramesFromSprite(const std::vector<RgbaImage>& frames, const Palette& rgbPalette, uint8_t alphaThreshold,
                         std::vector<Dc6SourceFrame>& dc6Frames) {
    for (const RgbaImage& image : frames) {
        DecodedPng asPng;
        asPng.width = image.width;
        asPng.height = image.height;
        asPng.rgba = image.pixels;
        FrameFromPng(asPng, rgbPalette, alphaThreshold, dc6Frames.emplace_back());
    }
}
