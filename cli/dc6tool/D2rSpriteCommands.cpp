#include "D2rSpriteCommands.h"

#include "D2rSprite.h"
#include "D2rSpriteFiles.h"
#include "D2rSpriteFrames.h"
#include "Dc6Sprite.h"
#include "MessageLine.h"
#include "OutputNames.h"
#include "PngCodec.h"
#include "SpriteCommands.h"

#include <algorithm>

namespace {

constexpr char SpriteExtension[] = ".sprite";

bool WriteD2rSprite(const std::vector<RgbaImage>& frames, const std::string& path, std::ostream& messages) {
    std::vector<uint8_t> file;
    std::string problem;
    const bool encoded = EncodeD2rSprite(frames, file, problem);
    return WriteEncodedFile(encoded, file, problem, path, messages);
}

// The frames of one image, told apart by its first bytes: a PNG's one, a sprite's all.
bool ReadRgbaFrames(const std::string& path, std::vector<RgbaImage>& frames, std::string& problem) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        problem = "can not be read (missing, unreadable or empty)";
        return false;
    }
    if (LooksLikeD2rSprite(bytes)) {
        std::vector<RgbaImage> read;
        if (!DecodeD2rSprite(bytes, read, problem))
            return false;
        std::move(read.begin(), read.end(), std::back_inserter(frames));
        return true;
    }
    if (!LooksLikePng(bytes)) {
        problem = "a .sprite is made of PNG images and other sprites; this is neither (its first bytes are neither "
                  "kind's signature)";
        return false;
    }
    DecodedPng png;
    if (!DecodePng(bytes, png, problem))
        return false;
    frames.push_back(RgbaOfPng(png));
    return true;
}

}  // namespace

bool NamesD2rSprite(const std::string& path) {
    const size_t length = sizeof SpriteExtension - 1;
    if (path.size() < length)
        return false;
    return std::equal(path.end() - length, path.end(), SpriteExtension,
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

bool RunToSprite(const ToolOptions& options, const Palette& rgb, std::ostream& messages) {
    bool allDone = true;
    for (const std::string& path : options.files) {
        std::vector<uint8_t> bytes;
        Dc6Sprite dc6;
        std::vector<RgbaImage> frames;
        std::string problem;
        const Dc6Hooks hooks{nullptr, [&](const std::string& text) {
                                 messages << path << ": " << MessageLine(text) << '\n';
                             }};
        if (!ReadWholeFile(path, bytes)) {
            messages << path << ": can not be read (missing, unreadable or empty)\n";
            allDone = false;
            continue;
        }
        if (!DecodeDc6Sprite(bytes, hooks, dc6, problem) ||
            !SpriteFramesFromDc6(dc6, rgb, options.scale, frames, problem)) {
            messages << path << ": " << MessageLine(problem) << '\n';
            allDone = false;
            continue;
        }
        std::string out = options.outputFile;
        if (out.empty()) {
            out = path;
            StripExtension(out);
            out += SpriteExtension;
        }
        allDone = WriteD2rSprite(frames, out, messages) && allDone;
    }
    return allDone;
}

bool UnpackD2rSprite(OutputBatch& outputs, const std::string& path, std::span<const uint8_t> bytes,
                     const std::string& folder, const std::string& name, std::ostream& messages) {
    std::vector<RgbaImage> frames;
    std::string problem;
    if (!DecodeD2rSprite(bytes, frames, problem) || !WriteD2rSpriteFolder(outputs, frames, folder, name, problem)) {
        messages << path << ": " << problem << '\n';
        return false;
    }
    return true;
}

bool PackD2rSprite(const std::string& folder, const std::string& out, std::ostream& messages) {
    std::vector<RgbaImage> frames;
    std::string problem;
    if (!ReadD2rSpriteFolder(folder, frames, problem)) {
        messages << problem << '\n';
        return false;
    }
    return WriteD2rSprite(frames, out, messages);
}

bool FromImagesToD2rSprite(const std::vector<std::string>& images, const std::string& out, std::ostream& messages) {
    std::vector<RgbaImage> frames;
    for (const std::string& path : images) {
        std::string problem;
        if (!ReadRgbaFrames(path, frames, problem)) {
            messages << path << ": " << problem << '\n';
            return false;
        }
    }
    return WriteD2rSprite(frames, out, messages);
}
