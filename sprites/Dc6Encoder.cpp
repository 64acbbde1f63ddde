#include "Dc6Encoder.h"

#include "ByteReader.h"
#include "Dc6Reader.h"
#include "Image.h"
#include "TextFormat.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t LongestRun = 127;

void PutU32LE(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
    out[at + 2] = static_cast<uint8_t>(value >> 16);
    out[at + 3] = static_cast<uint8_t>(value >> 24);
}

void PutI32LE(std::vector<uint8_t>& out, size_t at, int32_t value) {
    PutU32LE(out, at, static_cast<uint32_t>(value));
}

// Length of the run of pixels from x whose opacity is `opaque`.
size_t RunLength(const uint8_t* mask, size_t x, size_t width, uint8_t opaque) {
    size_t end = x;
    while (end < width && (mask[end] != 0) == (opaque != 0))
        ++end;
    return end - x;
}

void EncodeRow(const uint8_t* pixels, const uint8_t* mask, size_t width, std::vector<uint8_t>& out) {
    size_t last = width;  // one past the last opaque pixel
    while (last > 0 && mask[last - 1] == 0)
        --last;
    size_t x = 0;
    while (x < last) {
        if (mask[x] == 0) {
            size_t run = RunLength(mask, x, last, 0);
            x += run;
            for (; run > LongestRun; run -= LongestRun)
                out.push_back(static_cast<uint8_t>(Dc6EndOfLine | LongestRun));
            out.push_back(static_cast<uint8_t>(Dc6EndOfLine | run));
        } else {
            size_t run = RunLength(mask, x, last, 1);
            while (run > 0) {
                const size_t piece = std::min(run, LongestRun);
                out.push_back(static_cast<uint8_t>(piece));
                out.insert(out.end(), pixels + x, pixels + x + piece);
                x += piece;
                run -= piece;
            }
        }
    }
    out.push_back(Dc6EndOfLine);
}

bool FrameShapeValid(const Dc6SourceFrame& frame) {
    if (!ImageSizeAllowed(frame.width, frame.height))
        return false;
    const size_t pixels = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
    return frame.pixels.size() == pixels && frame.opaque.size() == pixels;
}

bool FrameReadable(const std::vector<uint8_t>& file, uint32_t pointer) {
    Dc6FileInfo info;
    info.framePositions = {pointer};
    Dc6FrameInfo frame;
    std::string problem;
    return GetFrameInfoDC6(file, info, 0, frame, problem);
}

// Points every unreadable frame whose kept pointer lies past the header and table, or leads
// to bytes that now read as a frame, just past the end of the file. Each change alters table
// bytes another kept pointer may read, so it goes round until nothing changes.
void KeepUnreadableFramesUnreadable(const Dc6Sprite& sprite, std::vector<uint8_t>& file) {
    const size_t tableEnd = Dc6HeaderSize + 4 * sprite.frames.size();
    const uint32_t pastTheEnd = static_cast<uint32_t>(file.size());
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i < sprite.frames.size(); ++i) {
            const size_t entry = Dc6HeaderSize + 4 * i;
            const uint32_t pointer = ByteReader(file, entry).U32LE();
            if (!sprite.frames[i].unreadablePointer || pointer == pastTheEnd)
                continue;
            if (pointer >= tableEnd || FrameReadable(file, pointer)) {
                PutU32LE(file, entry, pastTheEnd);
                changed = true;
            }
        }
    }
}

}  // namespace

void EncodeFrameScanlines(const Dc6SourceFrame& frame, std::vector<uint8_t>& out) {
    const size_t width = static_cast<size_t>(frame.width);
    for (int32_t y = frame.height - 1; y >= 0; --y) {
        const size_t row = static_cast<size_t>(y) * width;
        EncodeRow(frame.pixels.data() + row, frame.opaque.data() + row, width, out);
    }
}

bool EncodeDc6(const Dc6Sprite& sprite, std::vector<uint8_t>& file, std::string& problem) {
    const int64_t count = static_cast<int64_t>(sprite.directions) * sprite.framesPerDirection;
    if (sprite.directions < 1 || sprite.framesPerDirection < 1 || count != static_cast<int64_t>(sprite.frames.size())) {
        problem = FormatText("%d direction(s) of %d frame(s) do not match the %zu frames given",
                             static_cast<int>(sprite.directions), static_cast<int>(sprite.framesPerDirection),
                             sprite.frames.size());
        return false;
    }
    for (size_t i = 0; i < sprite.frames.size(); ++i) {
        if (!sprite.frames[i].unreadablePointer && !FrameShapeValid(sprite.frames[i])) {
            problem = FormatText("frame %zu: its size %d x %d is not an image size, or its pixels do not fill it", i,
                                 static_cast<int>(sprite.frames[i].width), static_cast<int>(sprite.frames[i].height));
            return false;
        }
    }
    file.assign(Dc6HeaderSize + 4 * sprite.frames.size(), 0);
    PutI32LE(file, 0, 6);
    PutI32LE(file, 4, sprite.flags);
    PutI32LE(file, 8, sprite.encoding);
    std::memcpy(file.data() + 12, sprite.terminators.data(), 4);
    PutI32LE(file, 16, sprite.directions);
    PutI32LE(file, 20, sprite.framesPerDirection);
    const size_t trailer = sprite.frameTerminator ? sprite.frameTerminator->size() : 0;
    for (size_t i = 0; i < sprite.frames.size(); ++i) {
        const Dc6SourceFrame& frame = sprite.frames[i];
        if (frame.unreadablePointer) {
            PutU32LE(file, Dc6HeaderSize + 4 * i, *frame.unreadablePointer);
            continue;
        }
        const size_t header = file.size();
        PutU32LE(file, Dc6HeaderSize + 4 * i, static_cast<uint32_t>(header));
        file.resize(header + Dc6FrameHeaderSize, 0);
        EncodeFrameScanlines(frame, file);
        const size_t length = file.size() - header - Dc6FrameHeaderSize;
        if (sprite.frameTerminator)
            file.insert(file.end(), sprite.frameTerminator->begin(), sprite.frameTerminator->end());
        if (file.size() > UINT32_MAX) {
            problem = "the file would be larger than 4 GB";
            return false;
        }
        PutI32LE(file, header, frame.flip);
        PutI32LE(file, header + 4, frame.width);
        PutI32LE(file, header + 8, frame.height);
        PutI32LE(file, header + 12, frame.offsetX);
        PutI32LE(file, header + 16, frame.offsetY);
        PutI32LE(file, header + 20, frame.unknown);
        PutU32LE(file, header + 24, static_cast<uint32_t>(header + Dc6FrameHeaderSize + length + trailer));
        PutU32LE(file, header + 28, static_cast<uint32_t>(length));
    }
    KeepUnreadableFramesUnreadable(sprite, file);
    return true;
}
