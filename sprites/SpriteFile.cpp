#include "SpriteFile.h"

#include "Dc6Reader.h"
#include "Dc6Sprite.h"
#include "DccDecoder.h"
#include "DccReader.h"
#include "MessageText.h"
#include "TextFormat.h"

#include <algorithm>

namespace {

// What is left of one file's budgets as its frames are decoded.
class DecodeBudget {
public:
    // Takes a frame's cost when it fits; else says why it does not.
    bool Take(size_t pixels, size_t codedBytes, std::string& problem) {
        if (pixels > pixelsLeft_) {
            problem = FormatText("it is not decoded: a file is shown up to %zu pixels, and the frames before it and "
                                 "this one hold more",
                                 MaxDecodedSpritePixels);
            return false;
        }
        if (codedBytes > bytesLeft_) {
            problem = FormatText("it is not decoded: a file is shown up to %zu bytes of coded frames, and the frames "
                                 "before it and this one hold more",
                                 MaxDecodedSpriteBytes);
            return false;
        }
        pixelsLeft_ -= pixels;
        bytesLeft_ -= codedBytes;
        return true;
    }

private:
    size_t pixelsLeft_ = MaxDecodedSpritePixels;
    size_t bytesLeft_ = MaxDecodedSpriteBytes;
};

void DecodeDc6Frame(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index, DecodeBudget& budget,
                    SpriteFrame& frame) {
    Dc6FrameInfo header;
    if (!GetFrameInfoDC6(file, info, index, header, frame.problem))
        return;
    const size_t pixels = static_cast<size_t>(header.width) * static_cast<size_t>(header.height);
    // A length below 1 is damaged: the decoder then reads all the bytes after the header.
    const size_t coded = header.length > 0 ? static_cast<size_t>(header.length) : file.size() - header.dataPosition;
    if (!budget.Take(pixels, coded, frame.problem))
        return;
    Dc6SourceFrame decoded;
    if (!DecodeDc6FrameWithOpacity(file, info, index, header, {}, decoded)) {
        frame.problem = "its image can not be made: there is not enough memory";
        return;
    }
    frame.width = decoded.width;
    frame.height = decoded.height;
    frame.offsetX = decoded.offsetX;
    frame.offsetY = decoded.offsetY;
    frame.pixels = std::move(decoded.pixels);
    frame.opaque = std::move(decoded.opaque);
}

bool DecodeDc6File(std::span<const uint8_t> file, SpriteFrames which, DecodedSprite& sprite, std::string& problem) {
    Dc6FileInfo info;
    const Dc6Hooks headerHooks{[&problem](const std::string& text) { problem = FirstParagraph(text); }, nullptr};
    if (!GetFileInfoDC6(file, headerHooks, info, Dc6FrameScope::AllFrames))
        return false;
    if (info.FrameCount() > MaxSpriteFrames) {
        problem = FormatText("The file has %d frames; at most %d are shown.", static_cast<int>(info.FrameCount()),
                             static_cast<int>(MaxSpriteFrames));
        return false;
    }
    const bool first = which == SpriteFrames::First;
    sprite.directions = first ? 1 : info.directions;
    sprite.framesPerDirection = first ? 1 : info.framesPerDirection;
    sprite.frames.assign(first ? 1 : static_cast<size_t>(info.FrameCount()), SpriteFrame{});
    DecodeBudget budget;
    for (size_t i = 0; i < sprite.frames.size(); ++i)
        DecodeDc6Frame(file, info, static_cast<int32_t>(i), budget, sprite.frames[i]);
    return true;
}

// A DCC file's frames: each direction is decoded whole, as its frames build on each other.
bool DecodeDccFile(std::span<const uint8_t> file, SpriteFrames which, DecodedSprite& sprite, std::string& problem) {
    DccFileInfo info;
    if (!GetFileInfoDcc(file, info, problem)) {
        problem = "The DCC file can not be read: " + problem + ".";
        return false;
    }
    if (int64_t{info.directions} * info.framesPerDirection > MaxSpriteFrames) {
        problem = FormatText("The file has %d frames; at most %d are shown.",
                             static_cast<int>(info.directions * info.framesPerDirection), static_cast<int>(MaxSpriteFrames));
        return false;
    }
    const bool first = which == SpriteFrames::First;
    sprite.directions = first ? 1 : info.directions;
    sprite.framesPerDirection = first ? 1 : info.framesPerDirection;
    sprite.frames.assign(static_cast<size_t>(sprite.directions) * static_cast<size_t>(sprite.framesPerDirection),
                         SpriteFrame{});
    DecodeBudget budget;
    for (int32_t d = 0; d < sprite.directions; ++d) {
        const DccDirection& direction = info.directionHeaders[static_cast<size_t>(d)];
        const auto frameAt = [&](size_t f) -> SpriteFrame& {
            return sprite.frames[static_cast<size_t>(d) * static_cast<size_t>(sprite.framesPerDirection) + f];
        };
        const size_t shown = static_cast<size_t>(sprite.framesPerDirection);
        size_t pixels = 0;
        for (const DccFrameHeader& frame : direction.frames)
            pixels += static_cast<size_t>(frame.box.width * frame.box.height);
        std::string why;
        std::vector<Image> images;
        if (!budget.Take(pixels, static_cast<size_t>((direction.endBit + 7) / 8 - direction.position), why) ||
            !DecodeDccDirection(file, direction, images, why)) {
            for (size_t f = 0; f < shown; ++f)
                frameAt(f).problem = why;
            continue;
        }
        for (size_t f = 0; f < shown && f < images.size(); ++f) {
            SpriteFrame& frame = frameAt(f);
            frame.width = images[f].width;
            frame.height = images[f].height;
            frame.offsetX = direction.frames[f].OffsetX();
            frame.offsetY = direction.frames[f].OffsetY();
            frame.opaque.resize(images[f].pixels.size());
            for (size_t i = 0; i < images[f].pixels.size(); ++i)
                frame.opaque[i] = images[f].pixels[i] != 0;  // index 0 is transparent in DCC
            frame.pixels = std::move(images[f].pixels);
        }
    }
    return true;
}

}  // namespace

bool DecodeSpriteFile(std::span<const uint8_t> bytes, std::string_view fileName, SpriteFrames which,
                      DecodedSprite& sprite, std::string& problem) {
    sprite = DecodedSprite{};
    problem.clear();
    if (bytes.size() > MaxSpriteFileBytes) {
        problem = FormatText("The file is %zu bytes long; files up to %zu bytes are shown.", bytes.size(),
                             MaxSpriteFileBytes);
        return false;
    }
    if (IsDccFile(std::string(fileName), bytes))
        return DecodeDccFile(bytes, which, sprite, problem);
    return DecodeDc6File(bytes, which, sprite, problem);
}
