#pragma once

#include "FileIo.h"
#include "Palette.h"

#include <cstddef>
#include <cstdint>
#include <string>

// 8-bit PCX with a 256-colour palette. Every pixel is coded alone: values 0xC0 to 0xFF as the
// pair 0xC1, value, all others as the byte itself, so a file is at most
// PcxMaxFileSize(width, rows) bytes long.

constexpr size_t PcxHeaderSize = 128;
constexpr size_t PcxPaletteTrailerSize = 769;  // marker 0x0C and 768 palette bytes

constexpr size_t PcxMaxFileSize(size_t width, size_t rows) {
    return PcxHeaderSize + 2 * width * rows + PcxPaletteTrailerSize;
}

// Codes `rows` rows of `width` pixels, row r starting at pixels + r * stride, with the
// palette `rgb` (red, green, blue per entry) into `out`, which must hold
// PcxMaxFileSize(width, rows) bytes. width and rows are 1 to 65,535. Returns the file's size.
size_t EncodePcx(const uint8_t* pixels, int32_t width, int32_t rows, size_t stride, const Palette& rgb, uint8_t* out);

// Codes the image and writes it to `path` (created or replaced) as one of `outputs`. Fails
// when the size is out of range, the memory cannot be had or the file cannot be written.
bool WritePCX(OutputBatch& outputs, const std::u16string& path, const uint8_t* pixels, int32_t width, int32_t rows,
              size_t stride, const Palette& rgb);
