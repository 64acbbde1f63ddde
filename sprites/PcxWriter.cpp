#include "PcxWriter.h"

#include "Image.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

void PutU16LE(uint8_t* at, int32_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

void WriteHeader(int32_t width, int32_t rows, uint8_t* out) {
    std::memset(out, 0, PcxHeaderSize);
    out[0] = 10;  // manufacturer
    out[1] = 5;   // version
    out[2] = 1;   // run-length encoding
    out[3] = 8;   // bits per pixel
    PutU16LE(out + 8, width - 1);
    PutU16LE(out + 10, rows - 1);
    // The resolution fields carry the image size, as the game's tools write them.
    PutU16LE(out + 12, width);
    PutU16LE(out + 14, rows);
    out[65] = 1;  // colour planes
    PutU16LE(out + 66, width);
    PutU16LE(out + 68, 2);
}

}  // namespace

size_t EncodePcx(const uint8_t* pixels, int32_t width, int32_t rows, size_t stride, const Palette& rgb, uint8_t* out) {
    WriteHeader(width, rows, out);
    uint8_t* o = out + PcxHeaderSize;
    for (int32_t r = 0; r < rows; ++r) {
        const uint8_t* row = pixels + static_cast<size_t>(r) * stride;
        for (int32_t x = 0; x < width; ++x) {
            // Branch-free: the count byte 0xC1 is always stored and kept only for values
            // with both top bits set.
            const uint8_t v = row[x];
            *o = 0xC1;
            o += (v >= 0xC0);
            *o++ = v;
        }
    }
    *o++ = 0x0C;
    std::memcpy(o, rgb.data(), rgb.size());
    o += rgb.size();
    return static_cast<size_t>(o - out);
}

bool WritePCX(OutputBatch& outputs, const std::u16string& path, const uint8_t* pixels, int32_t width, int32_t rows,
              size_t stride, const Palette& rgb) {
    if (!ImageSizeAllowed(width, rows) || stride < static_cast<size_t>(width))
        return false;
    const size_t capacity = PcxMaxFileSize(static_cast<size_t>(width), static_cast<size_t>(rows));
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[capacity]);
    if (!block)
        return false;
    const size_t size = EncodePcx(pixels, width, rows, stride, rgb, block.get());
    return outputs.Write(path, {block.get(), size}).Ok;
}
