#include "DccSprite.h"

#include "DccDecoder.h"
#include "DccReader.h"
#include "TextFormat.h"

namespace {

Dc6SourceFrame FrameOfImage(Image&& image, const DccFrameHeader& header) {
    Dc6SourceFrame frame;
    frame.width = image.width;
    frame.height = image.height;
    frame.offsetX = header.OffsetX();
    frame.offsetY = header.OffsetY();
    frame.opaque.resize(image.pixels.size());
    for (size_t i = 0; i < image.pixels.size(); ++i)
        frame.opaque[i] = image.pixels[i] != 0;
    frame.pixels = std::move(image.pixels);
    return frame;
}

}  // namespace

bool DecodeDccSprite(std::span<const uint8_t> file, Dc6FrameScope scope, Dc6Sprite& sprite, std::string& problem) {
    DccFileInfo info;
    if (!GetFileInfoDcc(file, info, problem))
        return false;
    if (scope == Dc6FrameScope::FirstDirection && info.framesPerDirection > MaxFramesPerDirection) {
        problem = FormatText("it has %d frames per direction, more than the %d the converter takes",
                             static_cast<int>(info.framesPerDirection), static_cast<int>(MaxFramesPerDirection));
        return false;
    }
    Dc6Sprite decoded;
    decoded.terminators = {0, 0, 0, 0};
    decoded.frameTerminator = std::array<uint8_t, 3>{0, 0, 0};
    decoded.directions = scope == Dc6FrameScope::FirstDirection ? 1 : info.directions;
    decoded.framesPerDirection = info.framesPerDirection;
    for (int32_t d = 0; d < decoded.directions; ++d) {
        const DccDirection& direction = info.directionHeaders[static_cast<size_t>(d)];
        std::vector<Image> images;
        if (!DecodeDccDirection(file, direction, images, problem)) {
            problem = FormatText("direction %d: %s", static_cast<int>(d), problem.c_str());
            return false;
        }
        for (size_t f = 0; f < images.size(); ++f)
            decoded.frames.push_back(FrameOfImage(std::move(images[f]), direction.frames[f]));
    }
    sprite = std::move(decoded);
    return true;
}

std::string DccRefusal(const std::string& problem) {
    return "DCC file can not be converted: " + problem + ".\n\nDo you wish to receive further error notification?";
}
