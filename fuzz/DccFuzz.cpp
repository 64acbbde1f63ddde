// The DCC reader and decoder on arbitrary bytes, in memory, in both of the converter's scopes.
#include "DccReader.h"
#include "DccSprite.h"
#include "FrameImages.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

// Large planes are legal but slow to fill; the fuzzer learns nothing more from them.
constexpr int64_t MaxFuzzPixels = int64_t(1) << 20;

bool SmallEnough(std::span<const uint8_t> file) {
    DccFileInfo info;
    std::string problem;
    if (!GetFileInfoDcc(file, info, problem))
        return true;
    int64_t pixels = 0;
    for (const DccDirection& direction : info.directionHeaders) {
        pixels += direction.box.width * direction.box.height;
        for (const DccFrameHeader& frame : direction.frames)
            pixels += frame.box.width * frame.box.height;
    }
    return pixels <= MaxFuzzPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that any read past the input is caught.
    const std::vector<uint8_t> file(data, data + size);
    if (!SmallEnough(file))
        return 0;
    for (Dc6FrameScope scope : {Dc6FrameScope::FirstDirection, Dc6FrameScope::AllFrames}) {
        Dc6Sprite sprite;
        std::string problem;
        if (!DecodeDccSprite(file, scope, sprite, problem))
            continue;
        for (const Dc6SourceFrame& frame : sprite.frames)
            ImageOfFrame(frame, sprite.terminators[3]);
    }
    return 0;
}
