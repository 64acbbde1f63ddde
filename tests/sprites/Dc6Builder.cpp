#include "Dc6Builder.h"

#include <algorithm>

void PutI32LE(std::vector<uint8_t>& bytes, size_t offset, int32_t value) {
    if (bytes.size() < offset + 4)
        bytes.resize(offset + 4);
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> Dc6TestFile::Bytes() const {
    std::vector<uint8_t> bytes(24 + 4 * frames.size(), 0);
    PutI32LE(bytes, 0, version);
    PutI32LE(bytes, 4, 1);
    std::copy(terminators.begin(), terminators.end(), bytes.begin() + 12);
    PutI32LE(bytes, 16, directions);
    PutI32LE(bytes, 20, static_cast<int32_t>(frames.size()) / std::max(directions, 1));
    for (size_t i = 0; i < frames.size(); ++i) {
        const Dc6TestFrame& frame = frames[i];
        const size_t at = bytes.size();
        PutI32LE(bytes, 24 + 4 * i, static_cast<int32_t>(at));
        bytes.resize(at + 32, 0);
        PutI32LE(bytes, at + 4, frame.width);
        PutI32LE(bytes, at + 8, frame.height);
        PutI32LE(bytes, at + 12, frame.offsetX);
        PutI32LE(bytes, at + 16, frame.offsetY);
        PutI32LE(bytes, at + 28, static_cast<int32_t>(frame.coded.size()));
        bytes.insert(bytes.end(), frame.coded.begin(), frame.coded.end());
        bytes.insert(bytes.end(), 3, 0xEE);
    }
    return bytes;
}

std::vector<uint8_t> SolidFrameCode(int32_t width, int32_t height, uint8_t index) {
    std::vector<uint8_t> coded;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width;) {
            const int32_t run = std::min(width - x, 127);
            coded.push_back(static_cast<uint8_t>(run));
            coded.insert(coded.end(), static_cast<size_t>(run), index);
            x += run;
        }
        coded.push_back(0x80);
    }
    return coded;
}
