#pragma once

#include <array>
#include <cstdint>
#include <string>

// 256 entries of three bytes. Palettes are stored blue, green, red per entry (the built-in
// table and palette files alike); PCX files take them red, green, blue.
using Palette = std::array<uint8_t, 768>;

// The game's act 1 palette, blue, green, red.
const Palette& BuiltInPalette();

// Reads a palette file of any format PaletteFormats.h lists into blue, green, red order;
// a file that is none of them is refused whole and `palette` is left alone.
bool LoadPaletteFile(const std::u16string& path, Palette& palette);

// The palette with the first and third byte of every entry exchanged.
Palette SwapRedAndBlue(const Palette& palette);
