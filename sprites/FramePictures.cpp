#include "FramePictures.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int32_t CheckerSquare = 8;
constexpr uint8_t CheckerLight = 0xFF;
constexpr uint8_t CheckerDark = 0xCC;

struct Size {
    int32_t width;
    int32_t height;
};

// `source` within `bounds`, keeping its shape, at least one pixel a side.
Size Shrunk(Size source, Size bounds) {
    const int64_t across = int64_t(source.width) * bounds.height;
    const int64_t down = int64_t(source.height) * bounds.width;
    if (across >= down)
        return {bounds.width, static_cast<int32_t>(std::max<int64_t>(1, down / source.width))};
    return {static_cast<int32_t>(std::max<int64_t>(1, across / source.height)), bounds.height};
}

Size Fitted(Size source, Size bounds) {
    if (source.width > bounds.width || source.height > bounds.height)
        return Shrunk(source, bounds);
    const int32_t times = std::min(bounds.width / source.width, bounds.height / source.height);
    return {source.width * times, source.height * times};
}

// For each of `count` picture pixels from `start`, which pixel of a frame `frameLength` long
// it shows (or -1: none), when `shown` picture pixels show `cellLength` cell pixels and the
// frame starts `frameStart` pixels into the cell.
std::vector<int32_t> SourcePositions(int32_t count, int32_t start, int32_t shown, int32_t cellLength,
                                     int32_t frameStart, int32_t frameLength) {
    std::vector<int32_t> positions(static_cast<size_t>(std::max(count, 0)), -1);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t along = i - start;
        if (along < 0 || along >= shown)
            continue;
        const int64_t inFrame = int64_t(along) * cellLength / shown - frameStart;
        if (inFrame >= 0 && inFrame < frameLength)
            positions[static_cast<size_t>(i)] = static_cast<int32_t>(inFrame);
    }
    return positions;
}

void PutColour(uint8_t* pixel, const Palette& bgr, uint8_t index) {
    pixel[0] = bgr[3 * index];
    pixel[1] = bgr[3 * index + 1];
    pixel[2] = bgr[3 * index + 2];
    pixel[3] = 0xFF;
}

bool HasPixels(const SpriteFrame& frame) {
    const size_t count = static_cast<size_t>(std::max(frame.width, 0)) * static_cast<size_t>(std::max(frame.height, 0));
    return count > 0 && frame.pixels.size() == count && frame.opaque.size() == count;
}

}  // namespace

FrameCell DirectionCell(const DecodedSprite& sprite, int32_t direction) {
    int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (int32_t i = 0; i < sprite.framesPerDirection; ++i) {
        const SpriteFrame& frame = sprite.At(direction, i);
        if (!HasPixels(frame))
            continue;
        left = std::min<int64_t>(left, frame.offsetX);
        top = std::min<int64_t>(top, int64_t(frame.offsetY) - frame.height);
        right = std::max<int64_t>(right, int64_t(frame.offsetX) + frame.width);
        bottom = std::max<int64_t>(bottom, frame.offsetY);
    }
    if (left > right)
        return {};
    // Offsets far apart make a cell too large to show anything in: its sides are cut so that
    // no arithmetic on them overflows; the frames past the cut show nowhere.
    const auto side = [](int64_t length) { return static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX / 2)); };
    return {static_cast<int32_t>(left), static_cast<int32_t>(top), side(right - left), side(bottom - top)};
}

void DrawOnCheckerboard(const SpriteFrame& frame, const FrameCell& cell, const Palette& bgr, BgraImage& picture) {
    if (picture.width < 1 || picture.height < 1) {
        picture.pixels.clear();
        return;
    }
    picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4);
    const bool drawn = HasPixels(frame);
    const Size shown = Fitted({std::max(cell.width, 1), std::max(cell.height, 1)}, {picture.width, picture.height});
    const int32_t left = (picture.width - shown.width) / 2;
    const int32_t top = (picture.height - shown.height) / 2;
    const int64_t frameLeft = int64_t(frame.offsetX) - cell.left;
    const int64_t frameTop = int64_t(frame.offsetY) - frame.height - cell.top;
    // A frame outside the cell (a cell cut short) shows nowhere.
    const bool placed = drawn && frameLeft >= INT32_MIN && frameLeft <= INT32_MAX && frameTop >= INT32_MIN &&
                        frameTop <= INT32_MAX;
    const std::vector<int32_t> columns = SourcePositions(picture.width, left, shown.width, cell.width,
                                                         static_cast<int32_t>(placed ? frameLeft : 0),
                                                         placed ? frame.width : 0);
    const std::vector<int32_t> rows = SourcePositions(picture.height, top, shown.height, cell.height,
                                                      static_cast<int32_t>(placed ? frameTop : 0),
                                                      placed ? frame.height : 0);
    uint8_t* out = picture.pixels.data();
    for (int32_t y = 0; y < picture.height; ++y) {
        const int32_t sourceRow = rows[static_cast<size_t>(y)];
        const size_t rowStart = sourceRow < 0 ? 0 : static_cast<size_t>(sourceRow) * static_cast<size_t>(frame.width);
        for (int32_t x = 0; x < picture.width; ++x, out += 4) {
            const int32_t sourceColumn = columns[static_cast<size_t>(x)];
            const size_t at = rowStart + static_cast<size_t>(sourceColumn);
            if (sourceRow >= 0 && sourceColumn >= 0 && frame.opaque[at]) {
                PutColour(out, bgr, frame.pixels[at]);
                continue;
            }
            const uint8_t shade = ((x / CheckerSquare + y / CheckerSquare) & 1) ? CheckerDark : CheckerLight;
            out[0] = out[1] = out[2] = shade;
            out[3] = 0xFF;
        }
    }
}

bool ThumbnailOfFrame(const SpriteFrame& frame, const Palette& bgr, int32_t side, BgraImage& thumbnail) {
    if (!HasPixels(frame) || side < 1)
        return false;
    const Size size = frame.width > side || frame.height > side ? Shrunk({frame.width, frame.height}, {side, side})
                                                                 : Size{frame.width, frame.height};
    thumbnail.width = size.width;
    thumbnail.height = size.height;
    thumbnail.pixels.assign(static_cast<size_t>(size.width) * static_cast<size_t>(size.height) * 4, 0);
    const std::vector<int32_t> columns = SourcePositions(size.width, 0, size.width, frame.width, 0, frame.width);
    uint8_t* out = thumbnail.pixels.data();
    for (int32_t y = 0; y < size.height; ++y) {
        const size_t rowStart =
            static_cast<size_t>(int64_t(y) * frame.height / size.height) * static_cast<size_t>(frame.width);
        for (int32_t x = 0; x < size.width; ++x, out += 4) {
            const size_t at = rowStart + static_cast<size_t>(columns[static_cast<size_t>(x)]);
            if (frame.opaque[at])
                PutColour(out, bgr, frame.pixels[at]);
        }
    }
    return true;
}
