#pragma once

#include "Palette.h"

#include <cstdint>
#include <span>
#include <string>

// The palette file formats modders use, told apart by content first, and by the file name's
// extension only where the bytes cannot tell (a 768-byte file is either the game's blue,
// green, red or Photoshop's red, green, blue).
enum class PaletteFormat {
    GameBgr,   // 768 bytes, blue, green, red per entry: the game's pal.dat
    Pl2,       // a .pl2 file of 1,024 bytes or more: its first 256 entries of red, green, blue, unused
    Act,       // a .act file of 768 or 772 bytes: red, green, blue per entry, then count and transparent index
    JascPal,   // "JASC-PAL" text: a version line, a count line, then "R G B" per line
    RiffPal,   // a Microsoft RIFF "PAL " file: entries of red, green, blue, flags in its "data" chunk
};

// Reads a palette held in memory; `fileName` supplies the extension. On success `palette`
// holds blue, green, red per entry (as the converter keeps palettes) and `colours` the number
// of entries the file gives; entries a shorter file does not give are black. On failure
// `palette` is left alone and `problem` says what is wrong.
bool ParsePalette(std::span<const uint8_t> bytes, const std::string& fileName, Palette& palette,
                  PaletteFormat& format, size_t& colours, std::string& problem);

// The format's name as messages give it ("JASC-PAL text").
const char* PaletteFormatName(PaletteFormat format);

struct PaletteFileResult {
    bool loaded = false;
    Palette palette{};  // blue, green, red per entry
    PaletteFormat format = PaletteFormat::GameBgr;
    std::string problem;  // why the file was refused: "can not be read", "JASC-PAL text: line 9 ..."
    // Said of a palette that is taken but gives fewer than 256 colours ("JASC-PAL text gives
    // 16 colours; entries 16 to 255 are black"); else empty.
    std::string notice;
};

// Reads a palette file of any of the formats above.
PaletteFileResult LoadPaletteFile(const std::u16string& path);
