#include "Palette.h"

#include "FileIo.h"

#include <algorithm>
#include <utility>
#include <vector>

bool LoadPaletteFile(const std::string& path, Palette& palette) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes) || bytes.size() != palette.size())
        return false;
    std::copy(bytes.begin(), bytes.end(), palette.begin());
    return true;
}

Palette SwapRedAndBlue(const Palette& palette) {
    Palette swapped = palette;
    for (size_t i = 0; i < swapped.size(); i += 3)
        std::swap(swapped[i], swapped[i + 2]);
    return swapped;
}
