#include "Dc6Reader.h"

#include "ByteReader.h"
#include "TextFormat.h"

namespace {

constexpr char VersionMessage[] =
    "DC6 file is not version 6 and can not be converted!\n\n"
    "Do you wish to receive further error notification?";
constexpr char BlocksMessage[] =
    "DC6 file has invalid number of blocks and can not be converted!\n\n"
    "Do you wish to receive further error notification?";
constexpr char TruncatedMessage[] =
    "DC6 file is truncated: its header or frame table ends past the end of the file and can not "
    "be converted!\n\nDo you wish to receive further error notification?";

// Reads width, height, offsets and length; false when the 32-byte header is not all there.
bool ReadFrameHeader(std::span<const uint8_t> file, size_t position, Dc6FrameInfo& frame) {
    frame.headerPosition = position;
    frame.dataPosition = position + Dc6FrameHeaderSize;
    if (!RangeInside(file.size(), position, Dc6FrameHeaderSize))
        return false;
    ByteReader in(file, position + 4);
    frame.width = in.I32LE();
    frame.height = in.I32LE();
    frame.offsetX = in.I32LE();
    frame.offsetY = in.I32LE();
    ByteReader lengthField(file, position + 28);
    frame.storedLength = lengthField.I32LE();
    frame.length = frame.storedLength;
    return true;
}

}  // namespace

bool GetFileInfoDC6(std::span<const uint8_t> file, const Dc6Hooks& hooks, Dc6FileInfo& info,
                    Dc6FrameScope scope) {
    info = Dc6FileInfo{};
    info.scope = scope;
    // A file too short to hold the version is cut short, not of another version.
    if (file.size() >= 4 && ByteReader(file).I32LE() != 6) {
        hooks.Error(VersionMessage);
        return false;
    }
    if (file.size() < Dc6HeaderSize) {
        hooks.Error(TruncatedMessage);
        return false;
    }
    for (size_t i = 0; i < 4; ++i)
        info.terminators[i] = file[12 + i];
    ByteReader counts(file, 16);
    info.directions = counts.I32LE();
    info.framesPerDirection = counts.I32LE();

    int64_t count = info.framesPerDirection;
    if (scope == Dc6FrameScope::FirstDirection) {
        if (count < 1 || count > MaxFramesPerDirection || info.directions < 1) {
            hooks.Error(BlocksMessage);
            return false;
        }
    } else {
        if (count < 1 || info.directions < 1) {
            hooks.Error(BlocksMessage);
            return false;
        }
        count *= info.directions;
    }
    // Compared in 64 bits: a count read from the file may be far larger than the file.
    if (static_cast<uint64_t>(count) * 4 > file.size() - Dc6HeaderSize) {
        hooks.Error(TruncatedMessage);
        return false;
    }
    info.framePositions.resize(static_cast<size_t>(count));
    ByteReader positions(file, Dc6HeaderSize);
    for (uint32_t& position : info.framePositions)
        position = positions.U32LE();

    for (uint32_t position : info.framePositions) {
        Dc6FrameInfo frame;
        if (ReadFrameHeader(file, position, frame) && (frame.offsetY != 0 || frame.offsetX != 0)) {
            info.hasOffsets = true;
            break;
        }
    }
    return true;
}

bool GetFrameInfoDC6(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index,
                     Dc6FrameInfo& frame, std::string& problem) {
    frame = Dc6FrameInfo{};
    if (index < 0 || index >= info.FrameCount()) {
        problem = FormatText("the file has no frame %d", static_cast<int>(index));
        return false;
    }
    const uint32_t position = info.framePositions[static_cast<size_t>(index)];
    if (!ReadFrameHeader(file, position, frame)) {
        problem = FormatText("its header at 0x%X lies past the end of the file (%zu bytes)",
                         static_cast<unsigned>(position), file.size());
        return false;
    }
    if (frame.width < 1 || frame.width > MaxImageSide || frame.height < 1 || frame.height > MaxImageSide) {
        problem = FormatText("its size %d x %d is not an image size from 1 to %d pixels a side",
                         static_cast<int>(frame.width), static_cast<int>(frame.height),
                         static_cast<int>(MaxImageSide));
        return false;
    }
    if (frame.length > 0 && !RangeInside(file.size(), frame.dataPosition, static_cast<size_t>(frame.length)))
        frame.length = static_cast<int32_t>(file.size() - frame.dataPosition);
    return true;
}

std::string SkippedFrameNotice(int32_t index, const std::string& problem) {
    return FormatText("Frame %d is skipped: %s.", static_cast<int>(index), problem.c_str());
}
