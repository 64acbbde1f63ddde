// The DC6 reader, decoder and PCX coder on arbitrary bytes, in memory.
#include "ConvertFile.h"
#include "Dc6Reader.h"
#include "PcxWriter.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

// Large frames are legal but slow to fill; the fuzzer learns nothing more from them.
constexpr int64_t MaxFuzzPixels = int64_t(1) << 20;

void EncodeImage(const Image& image, const Palette& rgb) {
    static std::vector<uint8_t> out;
    out.resize(PcxMaxFileSize(static_cast<size_t>(image.width), static_cast<size_t>(image.height)));
    EncodePcx(image.pixels.data(), image.width, image.height, static_cast<size_t>(image.width), rgb, out.data());
}

void ConvertInMemory(std::span<const uint8_t> file, Dc6FrameScope scope, const Palette& rgb) {
    Dc6FileInfo info;
    if (!GetFileInfoDC6(file, {}, info, scope))
        return;
    int64_t pixels = 0;
    for (int32_t i = 0; i < info.FrameCount(); ++i) {
        Dc6FrameInfo frame;
        std::string problem;
        if (GetFrameInfoDC6(file, info, i, frame, problem))
            pixels += int64_t(frame.width) * frame.height;
    }
    if (pixels > MaxFuzzPixels)
        return;
    if (scope == Dc6FrameScope::FirstDirection) {
        Image sheet;
        if (RenderSheet(file, info, {}, sheet))
            EncodeImage(sheet, rgb);
        return;
    }
    for (int32_t i = 0; i < info.FrameCount() && i < 64; ++i) {
        Image image;
        if (RenderFrame(file, info, i, {}, image))
            EncodeImage(image, rgb);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that any read past the input is caught.
    const std::vector<uint8_t> file(data, data + size);
    static const Palette rgb = SwapRedAndBlue(BuiltInPalette());
    ConvertInMemory(file, Dc6FrameScope::FirstDirection, rgb);
    ConvertInMemory(file, Dc6FrameScope::AllFrames, rgb);
    return 0;
}
