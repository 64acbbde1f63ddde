// The DC6 encoder on arbitrary frames: what EncodeDc6 writes must decode to the same
// directions, sizes, offsets, opacity and opaque pixels, and frames given as unreadable must
// read as unreadable again.
#include "Dc6Encoder.h"
#include "Dc6Sprite.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The input's bytes in order, zero once they run out.
class InputBytes {
public:
    InputBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t Next16() { return static_cast<uint16_t>(Next() | Next() << 8); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A frame of 1 to 255 x 1 to 64 pixels (rows longer than one run of 127), or (when the input
// says so) an unreadable one. Pixels take any byte, the terminators' too: a row whose pixels
// look like the end-of-frame mark must still decode as a row.
Dc6SourceFrame FrameFrom(InputBytes& in) {
    Dc6SourceFrame frame;
    const uint8_t shape = in.Next();
    if (shape == 0xFF) {
        frame.unreadablePointer = in.Next16();
        return frame;
    }
    frame.width = 1 + shape;
    frame.height = 1 + (in.Next() & 0x3F);
    frame.offsetX = static_cast<int16_t>(in.Next16());
    frame.offsetY = static_cast<int16_t>(in.Next16());
    const size_t pixels = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
    for (size_t i = 0; i < pixels; i += 8) {
        const uint8_t mask = in.Next();
        for (size_t bit = 0; bit < 8 && i + bit < pixels; ++bit)
            frame.opaque.push_back((mask >> bit) & 1);
    }
    for (size_t i = 0; i < pixels; ++i)
        frame.pixels.push_back(in.Next());
    return frame;
}

void ExpectSameFrame(const Dc6SourceFrame& given, const Dc6SourceFrame& read) {
    if (given.unreadablePointer) {
        if (!read.unreadablePointer)
            std::abort();
        return;
    }
    if (read.unreadablePointer || read.width != given.width || read.height != given.height ||
        read.offsetX != given.offsetX || read.offsetY != given.offsetY || read.opaque != given.opaque)
        std::abort();
    for (size_t i = 0; i < given.pixels.size(); ++i)
        if (given.opaque[i] && read.pixels[i] != given.pixels[i])
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputBytes in(data, size);
    Dc6Sprite sprite;
    sprite.terminators = {in.Next(), in.Next(), in.Next(), in.Next()};
    if (in.Next() & 1)
        sprite.frameTerminator.reset();
    const uint8_t counts = in.Next();
    sprite.directions = 1 + (counts & 1);
    sprite.framesPerDirection = 1 + ((counts >> 1) & 3);
    for (int32_t i = 0; i < sprite.directions * sprite.framesPerDirection; ++i)
        sprite.frames.push_back(FrameFrom(in));

    std::vector<uint8_t> file;
    std::string problem;
    if (!EncodeDc6(sprite, file, problem))
        std::abort();
    Dc6Sprite read;
    if (!DecodeDc6Sprite(file, {}, read, problem) || read.directions != sprite.directions ||
        read.framesPerDirection != sprite.framesPerDirection || read.frames.size() != sprite.frames.size())
        std::abort();
    for (size_t i = 0; i < sprite.frames.size(); ++i)
        ExpectSameFrame(sprite.frames[i], read.frames[i]);
    return 0;
}
