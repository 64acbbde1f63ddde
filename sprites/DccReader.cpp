#include "DccReader.h"

#include "ByteReader.h"
#include "DccBitReader.h"
#include "Image.h"
#include "TextFormat.h"
#include "Utf.h"

#include <algorithm>
#include <climits>

namespace {

// The header's 4-bit codes for the width of each frame header field.
constexpr std::array<unsigned, 16> FieldWidths{0, 1, 2, 4, 6, 8, 10, 12, 14, 16, 20, 24, 26, 28, 30, 32};

enum Field { Variable0, Width, Height, XOffset, YOffset, OptionalBytes, CodedBytes, FieldCount };

constexpr unsigned StreamSizeBits = 20;

template <typename Text>
bool EndsInDcc(const Text& name) {
    if (name.size() < 4 || name[name.size() - 4] != '.')
        return false;
    for (size_t i = 0; i < 3; ++i) {
        const auto c = name[name.size() - 3 + i];
        if (c != "dcc"[i] && c != "DCC"[i])
            return false;
    }
    return true;
}

bool LooksLikeDcc(std::span<const uint8_t> file) { return !file.empty() && file[0] == DccSignature; }

// Where direction `index`'s bits end: at the nearest direction that starts after it, else at
// the end of the file.
uint64_t DirectionEnd(const std::vector<uint32_t>& offsets, size_t index, size_t fileSize) {
    uint64_t end = fileSize;
    for (uint32_t other : offsets)
        if (other > offsets[index])
            end = std::min<uint64_t>(end, other);
    return end * 8;
}

bool ReadFrameHeader(DccBitReader& bits, const std::array<unsigned, FieldCount>& widths, DccFrameHeader& frame) {
    frame.variable0 = bits.Bits(widths[Variable0]);
    const uint32_t width = bits.Bits(widths[Width]);
    const uint32_t height = bits.Bits(widths[Height]);
    frame.xOffset = bits.SignedBits(widths[XOffset]);
    frame.yOffset = bits.SignedBits(widths[YOffset]);
    frame.optionalBytes = bits.Bits(widths[OptionalBytes]);
    frame.codedBytes = bits.Bits(widths[CodedBytes]);
    frame.bottomUp = bits.Bits(1) != 0;
    frame.box.left = frame.xOffset;
    frame.box.width = width;
    frame.box.height = height;
    frame.box.top = frame.bottomUp ? frame.yOffset : int64_t(frame.yOffset) - height + 1;
    return !bits.Failed();
}

DccBox Union(const std::vector<DccFrameHeader>& frames) {
    int64_t left = frames.front().box.left, top = frames.front().box.top;
    int64_t right = frames.front().box.Right(), bottom = frames.front().box.Bottom();
    for (const DccFrameHeader& frame : frames) {
        left = std::min(left, frame.box.left);
        top = std::min(top, frame.box.top);
        right = std::max(right, frame.box.Right());
        bottom = std::max(bottom, frame.box.Bottom());
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

// Reads the stream sizes and the pixel values after the frame headers and places the streams
// one after another; the pixel codes take the rest of the direction.
bool ReadStreams(DccBitReader& bits, DccDirection& direction, std::string& problem) {
    const uint64_t equalCells = direction.HasEqualCells() ? bits.Bits(StreamSizeBits) : 0;
    const uint64_t pixelMask = bits.Bits(StreamSizeBits);
    const uint64_t encodingType = direction.HasRawPixels() ? bits.Bits(StreamSizeBits) : 0;
    const uint64_t rawPixels = direction.HasRawPixels() ? bits.Bits(StreamSizeBits) : 0;
    for (int i = 0; i < 256; ++i)
        if (bits.Bits(1))
            direction.pixelValues[static_cast<size_t>(direction.pixelValueCount++)] = static_cast<uint8_t>(i);
    if (bits.Failed()) {
        problem = "its stream sizes and colour list end past its data";
        return false;
    }
    uint64_t start = bits.Position();
    for (auto [stream, size] : {std::pair{&direction.equalCells, equalCells}, {&direction.pixelMask, pixelMask},
                                {&direction.encodingType, encodingType}, {&direction.rawPixels, rawPixels}}) {
        *stream = {start, size};
        start += size;
    }
    if (start > direction.endBit) {
        problem = FormatText("its streams take %llu bits where %llu are left",
                             static_cast<unsigned long long>(start - bits.Position()),
                             static_cast<unsigned long long>(bits.Remaining()));
        return false;
    }
    direction.pixelCodes = {start, direction.endBit - start};
    return true;
}

bool ReadDirection(std::span<const uint8_t> file, int32_t framesPerDirection, DccDirection& direction,
                   std::string& problem) {
    DccBitReader bits(file, uint64_t(direction.position) * 8, direction.endBit - uint64_t(direction.position) * 8);
    direction.outSizeCoded = bits.Bits(32);
    direction.compression = static_cast<uint8_t>(bits.Bits(2));
    std::array<unsigned, FieldCount> widths{};
    for (unsigned& width : widths)
        width = FieldWidths[bits.Bits(4)];
    if (bits.Failed()) {
        problem = "its header ends past the end of the file";
        return false;
    }
    // Every frame header takes at least its one-bit flag.
    if (static_cast<uint64_t>(framesPerDirection) > bits.Remaining()) {
        problem = FormatText("%d frame headers can not fit in its %llu bits", static_cast<int>(framesPerDirection),
                             static_cast<unsigned long long>(bits.Remaining()));
        return false;
    }
    direction.frames.resize(static_cast<size_t>(framesPerDirection));
    uint64_t optionalBytes = 0;
    for (size_t i = 0; i < direction.frames.size(); ++i) {
        DccFrameHeader& frame = direction.frames[i];
        if (!ReadFrameHeader(bits, widths, frame)) {
            problem = FormatText("the header of frame %zu ends past its data", i);
            return false;
        }
        if (frame.box.top < INT32_MIN || frame.box.Bottom() > INT32_MAX) {
            problem = FormatText("frame %zu's rows %lld to %lld lie outside the plane's coordinates", i,
                                 static_cast<long long>(frame.box.top), static_cast<long long>(frame.box.Bottom()));
            return false;
        }
        if (!ImageSizeAllowed(frame.box.width, frame.box.height)) {
            problem = FormatText("frame %zu's size %lld x %lld is not an image size from 1 to %d pixels a side", i,
                                 static_cast<long long>(frame.box.width), static_cast<long long>(frame.box.height),
                                 static_cast<int>(MaxImageSide));
            return false;
        }
        optionalBytes += frame.optionalBytes;
    }
    direction.box = Union(direction.frames);
    if (!ImageSizeAllowed(direction.box.width, direction.box.height)) {
        problem = FormatText("its frames span %lld x %lld pixels, more than the %zu pixels (at most %d a side) the "
                             "converter takes",
                             static_cast<long long>(direction.box.width), static_cast<long long>(direction.box.height),
                             MaxImagePixels, static_cast<int>(MaxImageSide));
        return false;
    }
    if (optionalBytes > 0) {
        // The frames' extra data start at the next whole byte; the game does not use them.
        const uint64_t skip = (8 - bits.Position() % 8) % 8 + optionalBytes * 8;
        if (skip > bits.Remaining()) {
            problem = "its frames' extra data end past its data";
            return false;
        }
        bits = DccBitReader(file, bits.Position() + skip, bits.Remaining() - skip);
    }
    return ReadStreams(bits, direction, problem);
}

}  // namespace

bool IsDccFile(const std::string& name, std::span<const uint8_t> file) {
    return LooksLikeDcc(file) || EndsInDcc(name);
}

bool IsDccFile(const std::u16string& name, std::span<const uint8_t> file) {
    return LooksLikeDcc(file) || EndsInDcc(name);
}

bool GetFileInfoDcc(std::span<const uint8_t> file, DccFileInfo& info, std::string& problem) {
    info = DccFileInfo{};
    if (file.size() < DccHeaderSize) {
        problem = FormatText("the file is %zu bytes long, shorter than the %zu-byte DCC header", file.size(),
                             DccHeaderSize);
        return false;
    }
    ByteReader header(file);
    if (const uint8_t signature = header.U8(); signature != DccSignature) {
        problem = FormatText("its first byte is 0x%02X, not the DCC signature 0x74", signature);
        return false;
    }
    if (const uint8_t version = header.U8(); version != DccVersion) {
        problem = FormatText("it is of version %d, not 6", version);
        return false;
    }
    info.directions = header.U8();
    const uint32_t frames = header.U32LE();
    info.tag = header.U32LE();
    info.decodedSize = header.U32LE();
    if (info.directions < 1 || frames < 1 || frames > uint32_t(INT32_MAX)) {
        problem = FormatText("it has %d direction(s) of %u frame(s): there must be at least one of each",
                             static_cast<int>(info.directions), frames);
        return false;
    }
    info.framesPerDirection = static_cast<int32_t>(frames);
    if (!RangeInside(file.size(), DccHeaderSize, 4 * static_cast<size_t>(info.directions))) {
        problem = "its table of direction offsets ends past the end of the file";
        return false;
    }
    std::vector<uint32_t> offsets(static_cast<size_t>(info.directions));
    for (uint32_t& offset : offsets)
        offset = header.U32LE();
    const size_t tableEnd = DccHeaderSize + 4 * offsets.size();
    info.directionHeaders.resize(offsets.size());
    for (size_t d = 0; d < offsets.size(); ++d) {
        DccDirection& direction = info.directionHeaders[d];
        direction.position = offsets[d];
        direction.endBit = DirectionEnd(offsets, d, file.size());
        std::string reason;
        const bool inside = offsets[d] >= tableEnd && offsets[d] < file.size();
        if (!inside)
            reason = FormatText("its offset 0x%X lies outside the file's data (0x%zX to 0x%zX)",
                                static_cast<unsigned>(offsets[d]), tableEnd, file.size());
        if (!inside || !ReadDirection(file, info.framesPerDirection, direction, reason)) {
            problem = FormatText("direction %zu: %s", d, reason.c_str());
            return false;
        }
    }
    return true;
}
