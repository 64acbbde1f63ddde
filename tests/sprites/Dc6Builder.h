#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Builds DC6 files for tests: one direction unless told, frames laid out one after another
// after the frame table, each followed by three terminator bytes as the game's files are.
struct Dc6TestFrame {
    int32_t width = 1;
    int32_t height = 1;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    std::vector<uint8_t> coded;
};

struct Dc6TestFile {
    int32_t version = 6;
    std::array<uint8_t, 4> terminators{0xEE, 0xEE, 0xEE, 0xEE};
    int32_t directions = 1;
    std::vector<Dc6TestFrame> frames;

    std::vector<uint8_t> Bytes() const;
};

// Coded scanlines for a width x height frame of solid `index`: literal runs, bottom row first.
std::vector<uint8_t> SolidFrameCode(int32_t width, int32_t height, uint8_t index);

void PutI32LE(std::vector<uint8_t>& bytes, size_t offset, int32_t value);
