#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// A plain 8-bit PCX reader for tests: general run-length decoding, not only the one-pixel
// runs the converter writes.
struct PcxTestImage {
    bool valid = false;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;   // width * height, rows top-down
    std::vector<uint8_t> palette;  // 768 bytes, red, green, blue

    uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

PcxTestImage ReadPcxForTest(const std::vector<uint8_t>& bytes);
PcxTestImage ReadPcxFileForTest(const std::filesystem::path& path);
