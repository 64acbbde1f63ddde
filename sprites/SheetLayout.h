#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct FrameSize {
    int32_t width = 0;
    int32_t height = 0;
    bool usable = false;  // false for a frame that is skipped: it takes no place on the sheet
};

struct SheetPlacement {
    int64_t x = 0;
    int64_t y = 0;
};

struct SheetLayout {
    int64_t width = 0;   // the widest row
    int64_t height = 0;
    std::vector<SheetPlacement> placements;  // one per frame, in order; unused for skipped frames
};

// Lays frames out on one sheet in table order: a frame that follows one exactly 256 pixels
// wide continues its row, bottom-aligned with the frame that started the row; any other
// frame starts a new row below.
SheetLayout LayOutSheet(std::span<const FrameSize> frames);
