#include "Dc6Sprite.h"

#include "ByteReader.h"
#include "Dc6Decoder.h"
#include "Dc6Reader.h"
#include "MessageText.h"
#include "TextFormat.h"

namespace {

// Why a frame of a size GetFrameInfoDC6 takes still can not be decoded here.
std::string TooLargeFrameProblem(const Dc6FrameInfo& header) {
    return FormatText("an image of %d x %d pixels can not be made (at most %zu pixels in all, and the memory must be "
                      "there)",
                      static_cast<int>(header.width), static_cast<int>(header.height), MaxImagePixels);
}

// The bytes after each frame's coded data, as the first readable frame's next-block field
// shows them: three bytes in the game's files, none in a few.
void ReadFrameTerminator(std::span<const uint8_t> file, const Dc6FrameInfo& first, Dc6Sprite& sprite) {
    const uint32_t nextBlock = ByteReader(file, first.headerPosition + 24).U32LE();
    const size_t dataEnd = first.dataPosition + static_cast<size_t>(std::max<int32_t>(first.length, 0));
    if (nextBlock == dataEnd) {
        sprite.frameTerminator.reset();
    } else if (RangeInside(file.size(), dataEnd, 3)) {
        sprite.frameTerminator = std::array<uint8_t, 3>{file[dataEnd], file[dataEnd + 1], file[dataEnd + 2]};
    }
}

}  // namespace

// Decoded twice, over two different backgrounds: a pixel the coded data paint has the same
// value in both, one they leave alone keeps each background. So the opacity is exact even
// where painted pixels have the background's index.
bool DecodeDc6FrameWithOpacity(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index,
                               const Dc6FrameInfo& header, const Dc6Hooks& hooks, Dc6SourceFrame& frame) {
    const uint8_t first = info.Background();
    const uint8_t second = static_cast<uint8_t>(first ^ 0xFF);
    Image painted, check;
    if (!MakeImage(header.width, header.height, first, painted) ||
        !MakeImage(header.width, header.height, second, check))
        return false;
    const Dc6FrameTarget target{0, 0, header.width, header.height};
    const std::span<const uint8_t> coded = file.subspan(header.dataPosition);
    const Dc6DecodeResult result = DecodeFrameDC6(coded, header.length, info.terminators, painted, target);
    DecodeFrameDC6(coded, header.length, info.terminators, check, target);
    const std::string notice = FrameNotice(index, header, result);
    if (!notice.empty())
        hooks.Notice(notice);
    frame.width = header.width;
    frame.height = header.height;
    frame.offsetX = header.offsetX;
    frame.offsetY = header.offsetY;
    frame.flip = ByteReader(file, header.headerPosition).I32LE();
    frame.unknown = ByteReader(file, header.headerPosition + 20).I32LE();
    frame.opaque.resize(painted.pixels.size());
    for (size_t i = 0; i < painted.pixels.size(); ++i)
        frame.opaque[i] = painted.pixels[i] != first || check.pixels[i] != second;
    frame.pixels = std::move(painted.pixels);
    return true;
}

bool DecodeDc6Sprite(std::span<const uint8_t> file, const Dc6Hooks& hooks, Dc6Sprite& sprite, std::string& problem) {
    Dc6FileInfo info;
    const Dc6Hooks headerHooks{[&problem](const std::string& text) { problem = FirstParagraph(text); }, nullptr};
    if (!GetFileInfoDC6(file, headerHooks, info, Dc6FrameScope::AllFrames))
        return false;
    sprite = Dc6Sprite{};
    ByteReader header(file, 4);
    sprite.flags = header.I32LE();
    sprite.encoding = header.I32LE();
    sprite.terminators = info.terminators;
    sprite.directions = info.directions;
    sprite.framesPerDirection = info.framesPerDirection;
    sprite.frames.resize(static_cast<size_t>(info.FrameCount()));
    bool terminatorRead = false;
    for (int32_t i = 0; i < info.FrameCount(); ++i) {
        Dc6FrameInfo header;
        std::string frameProblem;
        if (!GetFrameInfoDC6(file, info, i, header, frameProblem)) {
            hooks.Notice(SkippedFrameNotice(i, frameProblem));
            sprite.frames[static_cast<size_t>(i)].unreadablePointer = info.framePositions[static_cast<size_t>(i)];
            continue;
        }
        if (!terminatorRead) {
            ReadFrameTerminator(file, header, sprite);
            terminatorRead = true;
        }
        if (!DecodeDc6FrameWithOpacity(file, info, i, header, hooks, sprite.frames[static_cast<size_t>(i)])) {
            hooks.Notice(SkippedFrameNotice(i, TooLargeFrameProblem(header)));
            sprite.frames[static_cast<size_t>(i)].unreadablePointer = info.framePositions[static_cast<size_t>(i)];
        }
    }
    return true;
}
