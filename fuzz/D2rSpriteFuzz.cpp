// The Diablo II: Resurrected sprite reader on arbitrary bytes, in memory: a file it reads must
// be written again and read back to the same frames, and its frames must map to DC6 frames of
// one pixel and one opacity per image pixel.
#include "D2rSprite.h"
#include "D2rSpriteFrames.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that any read past the input is caught.
    const std::vector<uint8_t> file(data, data + size);
    std::vector<RgbaImage> frames;
    std::string problem;
    if (!DecodeD2rSprite(file, frames, problem)) {
        if (problem.empty())
            std::abort();
        return 0;
    }
    std::vector<uint8_t> written;
    std::vector<RgbaImage> again;
    if (!EncodeD2rSprite(frames, written, problem) || !DecodeD2rSprite(written, again, problem))
        std::abort();
    for (size_t i = 0; i < frames.size(); ++i)
        if (again.size() != frames.size() || again[i].pixels != frames[i].pixels)
            std::abort();
    static const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    std::vector<Dc6SourceFrame> dc6;
    Dc6FramesFromSprite(frames, rgb, static_cast<uint8_t>(1 + file.back() % 255), dc6);
    for (const Dc6SourceFrame& frame : dc6) {
        const size_t pixels = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
        if (frame.pixels.size() != pixels || frame.opaque.size() != pixels)
            std::abort();
    }
    return 0;
}
