#include "SheetLayout.h"

#include <algorithm>

SheetLayout LayOutSheet(std::span<const FrameSize> frames) {
    // Game panels are cut into 256-pixel-wide tiles, so a 256-wide frame is continued to its right.
    constexpr int32_t TileWidth = 256;
    SheetLayout layout;
    layout.placements.resize(frames.size());
    int64_t x = 0;
    int32_t previousWidth = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const FrameSize& frame = frames[i];
        if (!frame.usable)
            continue;
        if (previousWidth != TileWidth)
            x = 0;
        if (x == 0)
            layout.height += frame.height;
        layout.placements[i] = {x, layout.height - frame.height};
        x += frame.width;
        layout.width = std::max(layout.width, x);
        previousWidth = frame.width;
    }
    return layout;
}
