#include "PcxReader.h"

#include "PcxWriter.h"
#include "TextFormat.h"

#include <algorithm>
#include <cstring>

namespace {

uint16_t U16LE(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

bool LooksLikePcx(std::span<const uint8_t> bytes) {
    return bytes.size() >= 3 && bytes[0] == 10 && bytes[1] <= 5 && bytes[2] <= 1;
}

bool DecodePcx(std::span<const uint8_t> pcx, Image& image, Palette& rgbPalette, std::string& problem) {
    if (pcx.size() < PcxHeaderSize + PcxPaletteTrailerSize || !LooksLikePcx(pcx)) {
        problem = "not a PCX file";
        return false;
    }
    if (pcx[2] != 1 || pcx[3] != 8 || pcx[65] != 1) {
        problem = "only 8-bit, one-plane, run-length coded PCX images can be read";
        return false;
    }
    const int32_t width = U16LE(pcx, 8) - U16LE(pcx, 4) + 1;
    const int32_t height = U16LE(pcx, 10) - U16LE(pcx, 6) + 1;
    const size_t bytesPerLine = U16LE(pcx, 66);
    if (!ImageSizeAllowed(width, height) || bytesPerLine < static_cast<size_t>(width)) {
        problem = FormatText("its size %d x %d (%zu bytes a line) is not an image size", static_cast<int>(width),
                             static_cast<int>(height), bytesPerLine);
        return false;
    }
    const size_t paletteAt = pcx.size() - 768;
    if (pcx[paletteAt - 1] != 0x0C) {
        problem = "it has no 256-colour palette at its end";
        return false;
    }
    Image decoded;
    if (!MakeImage(width, height, 0, decoded)) {
        problem = "out of memory";
        return false;
    }
    // Driven by the output position: no count in the file can write past a line.
    size_t p = PcxHeaderSize;
    const size_t end = paletteAt - 1;
    std::vector<uint8_t> line(bytesPerLine);
    for (int32_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < bytesPerLine;) {
            if (p >= end) {
                problem = FormatText("its pixels end in line %d", static_cast<int>(y));
                return false;
            }
            size_t count = 1;
            uint8_t value = pcx[p++];
            if (value >= 0xC0) {
                count = value & 0x3F;
                if (p >= end) {
                    problem = FormatText("its pixels end in line %d", static_cast<int>(y));
                    return false;
                }
                value = pcx[p++];
            }
            count = std::min(count, bytesPerLine - x);
            std::memset(line.data() + x, value, count);
            x += count;
        }
        std::memcpy(decoded.Row(y), line.data(), static_cast<size_t>(width));
    }
    std::copy(pcx.begin() + static_cast<std::ptrdiff_t>(paletteAt), pcx.end(), rgbPalette.begin());
    image = std::move(decoded);
    return true;
}
