// The image readers of pack and fromimage on arbitrary bytes, in memory: the PNG decoder and
// its mapping to a frame, and the PCX decoder with the background index topcx would have
// filled. A frame must come out with one pixel and one opacity per image pixel.
#include "FrameImages.h"
#include "PcxReader.h"
#include "PngCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

// Large images are legal but slow to fill; the fuzzer learns nothing more from them.
constexpr uint64_t MaxFuzzPixels = uint64_t(1) << 20;

uint64_t BigEndian32(std::span<const uint8_t> bytes, size_t at) {
    return uint64_t(bytes[at]) << 24 | uint64_t(bytes[at + 1]) << 16 | uint64_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

uint64_t LittleEndian16(std::span<const uint8_t> bytes, size_t at) {
    return uint64_t(bytes[at]) | uint64_t(bytes[at + 1]) << 8;
}

// The pixels a header claims, width times height; 0 when the header is too short.
uint64_t ClaimedPngPixels(std::span<const uint8_t> png) {
    return png.size() < 24 ? 0 : BigEndian32(png, 16) * BigEndian32(png, 20);
}

uint64_t ClaimedPcxPixels(std::span<const uint8_t> pcx) {
    if (pcx.size() < 12)
        return 0;
    return (LittleEndian16(pcx, 8) + 1) * (LittleEndian16(pcx, 10) + 1);
}

void ExpectWholeFrame(const Dc6SourceFrame& frame) {
    const size_t pixels = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
    if (frame.pixels.size() != pixels || frame.opaque.size() != pixels)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that any read past the input is caught.
    const std::vector<uint8_t> file(data, data + size);
    static const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    std::string problem;
    if (LooksLikePng(file)) {
        DecodedPng png;
        if (ClaimedPngPixels(file) > MaxFuzzPixels || !DecodePng(file, png, problem))
            return 0;
        Dc6SourceFrame frame;
        // The last byte picks the alpha threshold, 1 to 255.
        FrameFromPng(png, rgb, static_cast<uint8_t>(1 + file.back() % 255), frame);
        ExpectWholeFrame(frame);
        return 0;
    }
    Image image;
    Palette pcxPalette{};
    if (ClaimedPcxPixels(file) > MaxFuzzPixels || !DecodePcx(file, image, pcxPalette, problem))
        return 0;
    Dc6SourceFrame frame;
    FrameFromIndexedImage(image, TopcxBackgroundIndex(image), frame);
    ExpectWholeFrame(frame);
    return 0;
}
