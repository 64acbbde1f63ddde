#include "Palette.h"

#include "FileIo.h"
#include "PaletteFormats.h"
#include "TextFormat.h"
#include "Utf.h"

#include <utility>
#include <vector>

PaletteFileResult LoadPaletteFile(const std::u16string& path) {
    PaletteFileResult result;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes) || bytes.empty()) {
        result.problem = "it can not be read (missing, unreadable or empty)";
        return result;
    }
    size_t colours = 0;
    result.loaded = ParsePalette(bytes, Utf16ToUtf8(path), result.palette, result.format, colours, result.problem);
    if (result.loaded && colours < 256)
        result.notice = FormatText("%s gives %zu colours; entries %zu to 255 are black",
                                   PaletteFormatName(result.format), colours, colours);
    return result;
}

bool LoadPaletteFile(const std::u16string& path, Palette& palette) {
    const PaletteFileResult result = LoadPaletteFile(path);
    if (result.loaded)
        palette = result.palette;
    return result.loaded;
}

Palette SwapRedAndBlue(const Palette& palette) {
    Palette swapped = palette;
    for (size_t i = 0; i < swapped.size(); i += 3)
        std::swap(swapped[i], swapped[i + 2]);
    return swapped;
}
