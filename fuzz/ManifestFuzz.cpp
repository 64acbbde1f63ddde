// The unpacked-sprite reader of pack on an arbitrary manifest.txt: it reads the folder or says
// why not, and a sprite it reads has as many frames as its directions times their frames.
#include "Palette.h"
#include "Dc6Encoder.h"
#include "SpriteFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() / "strindle-manifest-fuzz";
        std::filesystem::create_directories(made);
        return made;
    }();
    std::ofstream(folder / SpriteManifestName, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Dc6Sprite sprite;
    std::string problem;
    const bool read = ReadSpriteFolder(folder.string(), SwapRedAndBlue(BuiltInPalette()), 128, sprite, problem);
    if (read ? static_cast<int64_t>(sprite.frames.size()) !=
                   static_cast<int64_t>(sprite.directions) * sprite.framesPerDirection
             : problem.empty())
        std::abort();
    return 0;
}
