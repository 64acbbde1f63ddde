#include "SpriteCommands.h"

#include "D2rSprite.h"
#include "D2rSpriteCommands.h"
#include "D2rSpriteFrames.h"
#include "Dc6Sprite.h"
#include "DccReader.h"
#include "DccSprite.h"
#include "FileIo.h"
#include "FrameImages.h"
#include "MessageLine.h"
#include "OutputNames.h"
#include "PcxReader.h"
#include "PngCodec.h"
#include "SpriteFolder.h"

#include <filesystem>

bool WriteEncodedFile(bool encoded, const std::vector<uint8_t>& file, const std::string& problem,
                      const std::string& path, std::ostream& messages) {
    if (!encoded) {
        messages << path << ": " << problem << '\n';
        return false;
    }
    if (!WriteWholeFile(path, file.data(), file.size())) {
        messages << path << ": could not be created or written\n";
        return false;
    }
    return true;
}

namespace {

std::string BaseNameOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    StripExtension(name);
    return name;
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

bool WriteDc6(const Dc6Sprite& sprite, const std::string& path, std::ostream& messages) {
    std::vector<uint8_t> file;
    std::string problem;
    const bool encoded = EncodeDc6(sprite, file, problem);
    return WriteEncodedFile(encoded, file, problem, path, messages);
}

// The frames of one image, told apart by its first bytes, whatever its name: a PNG's one as
// FrameFromPng reads it, a .sprite's all the same way; a PCX's indices as they are, the pixels
// of --transparent's index or else of TopcxBackgroundIndex transparent.
bool ReadImageFrames(const std::string& path, const Palette& rgb, const ToolOptions& options,
                     std::vector<Dc6SourceFrame>& frames, std::string& problem) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        problem = "can not be read (missing, unreadable or empty)";
        return false;
    }
    if (LooksLikePng(bytes)) {
        DecodedPng png;
        if (!DecodePng(bytes, png, problem))
            return false;
        FrameFromPng(png, rgb, static_cast<uint8_t>(options.alphaThreshold), frames.emplace_back());
        return true;
    }
    if (LooksLikeD2rSprite(bytes)) {
        std::vector<RgbaImage> sprite;
        if (!DecodeD2rSprite(bytes, sprite, problem))
            return false;
        Dc6FramesFromSprite(sprite, rgb, static_cast<uint8_t>(options.alphaThreshold), frames);
        return true;
    }
    if (!LooksLikePcx(bytes)) {
        problem = "neither a PNG, a PCX image nor a .sprite (its first bytes are none of their signatures)";
        return false;
    }
    Image image;
    Palette pcxPalette{};
    if (!DecodePcx(bytes, image, pcxPalette, problem))
        return false;
    const std::optional<uint8_t> transparent =
        options.pcxTransparentIndex ? options.pcxTransparentIndex : TopcxBackgroundIndex(image);
    FrameFromIndexedImage(image, transparent, frames.emplace_back());
    return true;
}

}  // namespace

bool RunUnpack(const ToolOptions& options, const Palette& rgb, std::ostream& messages) {
    bool allDone = true;
    OutputBatch outputs;
    for (const std::string& path : options.files) {
        std::vector<uint8_t> bytes;
        Dc6Sprite sprite;
        std::string problem;
        const Dc6Hooks hooks{nullptr, [&](const std::string& text) {
                                 messages << path << ": " << MessageLine(text) << '\n';
                             }};
        if (!ReadWholeFile(path, bytes)) {
            messages << path << ": can not be read (missing, unreadable or empty)\n";
            allDone = false;
            continue;
        }
        const std::string name = BaseNameOf(path);
        const std::string folder = options.outputFolder.empty() ? name : options.outputFolder + PathSeparator + name;
        if (LooksLikeD2rSprite(bytes)) {
            allDone = UnpackD2rSprite(outputs, path, bytes, folder, name, messages) && allDone;
            continue;
        }
        const bool decoded = IsDccFile(path, bytes) ? DecodeDccSprite(bytes, Dc6FrameScope::AllFrames, sprite, problem)
                                                    : DecodeDc6Sprite(bytes, hooks, sprite, problem);
        if (!decoded) {
            messages << path << ": " << MessageLine(problem) << '\n';
            allDone = false;
            continue;
        }
        std::vector<std::string> notices;
        const bool written = WriteSpriteFolder(outputs, sprite, folder, name, rgb, notices, problem);
        for (const std::string& notice : notices)
            messages << path << ": " << notice << '\n';
        if (!written) {
            messages << path << ": " << problem << '\n';
            allDone = false;
        }
    }
    if (const Result synced = outputs.Finish(); !synced) {
        messages << "the unpacked files may not all be on the disk yet: " << synced.Message << '\n';
        allDone = false;
    }
    return allDone;
}

bool RunPack(const ToolOptions& options, const Palette& rgb, std::ostream& messages) {
    const std::string folder = WithoutTrailingSeparators(options.files.front());
    const std::string out = options.outputFile.empty() ? folder + ".dc6" : options.outputFile;
    if (NamesD2rSprite(out))
        return PackD2rSprite(folder, out, messages);
    Dc6Sprite sprite;
    std::string problem;
    if (!ReadSpriteFolder(folder, rgb, static_cast<uint8_t>(options.alphaThreshold), sprite, problem)) {
        messages << problem << '\n';
        return false;
    }
    return WriteDc6(sprite, out, messages);
}

bool RunFromImage(const ToolOptions& options, const Palette& rgb, std::ostream& messages) {
    std::string out = options.outputFile;
    if (out.empty()) {
        out = options.files.front();
        StripExtension(out);
        out += ".dc6";
    }
    if (NamesD2rSprite(out))
        return FromImagesToD2rSprite(options.files, out, messages);
    Dc6Sprite sprite;
    for (const std::string& path : options.files) {
        std::string problem;
        if (!ReadImageFrames(path, rgb, options, sprite.frames, problem)) {
            messages << path << ": " << problem << '\n';
            return false;
        }
    }
    if (options.offsetGiven) {
        for (Dc6SourceFrame& frame : sprite.frames) {
            frame.offsetX = options.offsetX;
            frame.offsetY = options.offsetY;
        }
    }
    sprite.framesPerDirection = static_cast<int32_t>(sprite.frames.size());
    return WriteDc6(sprite, out, messages);
}
