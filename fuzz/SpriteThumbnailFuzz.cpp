// The path a thumbnail takes, on arbitrary bytes: the file decoded for its first frame, which
// is made a picture within a side taken from the input. A file refused says why; a frame
// decoded makes a picture no larger than the frame and the side.
#include "FramePictures.h"
#include "SpriteFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that any read past the input is caught.
    const std::vector<uint8_t> file(data, data + size);
    DecodedSprite sprite;
    std::string problem;
    // The first byte of a DCC file is 0x74: such inputs go the way of a DCC file's name.
    const char* name = size > 0 && file.front() == 0x74 ? "fuzz.dcc" : "fuzz.dc6";
    if (!DecodeSpriteFile(file, name, SpriteFrames::First, sprite, problem)) {
        if (problem.empty())
            std::abort();
        return 0;
    }
    if (sprite.frames.size() != 1)
        std::abort();
    const SpriteFrame& frame = sprite.frames.front();
    const int32_t side = size > 0 ? 1 + file.back() % 300 : 256;
    BgraImage thumbnail;
    if (!ThumbnailOfFrame(frame, BuiltInPalette(), side, thumbnail)) {
        if (frame.problem.empty())
            std::abort();
        return 0;
    }
    if (thumbnail.width < 1 || thumbnail.width > side || thumbnail.width > frame.width || thumbnail.height < 1 ||
        thumbnail.height > side || thumbnail.height > frame.height ||
        thumbnail.pixels.size() != static_cast<size_t>(thumbnail.width) * static_cast<size_t>(thumbnail.height) * 4)
        std::abort();
    return 0;
}
