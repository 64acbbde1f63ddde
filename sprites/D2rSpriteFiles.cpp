#include "D2rSpriteFiles.h"

#include "D2rSprite.h"
#include "Dc6Encoder.h"
#include "OutputNames.h"
#include "PngCodec.h"
#include "SpriteFolder.h"
#include "TextFormat.h"
#include "Utf.h"

bool ConvertD2rSpriteFile(const std::u16string& listName, std::span<const uint8_t> file, const Dc6Hooks& hooks,
                          OutputBatch& outputs, const std::u16string& folder) {
    std::vector<RgbaImage> frames;
    std::string problem;
    if (!DecodeD2rSprite(file, frames, problem)) {
        hooks.Error(problem);
        return false;
    }
    std::u16string baseName = listName;
    StripExtension(baseName);
    std::vector<uint8_t> png;
    for (size_t i = 0; i < frames.size(); ++i) {
        const std::u16string path = FrameOutputPath(folder, baseName, static_cast<int>(i), ImageKind::Png);
        if (!EncodeRgbaPng(frames[i], png, problem) || !outputs.Write(path, png)) {
            hooks.Notice(FormatText("The file %s could not be created or written.", Utf16ToUtf8(path).c_str()));
            return false;
        }
    }
    return true;
}

bool WriteD2rSpriteFolder(OutputBatch& outputs, const std::vector<RgbaImage>& frames, const std::string& folder,
                          const std::string& name, std::string& problem) {
    MakeFolders(Utf8ToUtf16(folder));
    Dc6Sprite listed;
    listed.framesPerDirection = static_cast<int32_t>(frames.size());
    listed.frames.resize(frames.size());
    std::vector<std::string> files;
    std::vector<uint8_t> png;
    for (size_t i = 0; i < frames.size(); ++i) {
        files.push_back(SpriteFramePngName(name, 0, i));
        const std::string path = folder + PathSeparator + files.back();
        if (!EncodeRgbaPng(frames[i], png, problem))
            return false;
        if (!outputs.Write(Utf8ToUtf16(path), png)) {
            problem = "The file " + path + " could not be created or written.";
            return false;
        }
    }
    return WriteSpriteManifest(outputs, listed, files, folder, problem);
}

bool ReadD2rSpriteFolder(const std::string& folder, std::vector<RgbaImage>& frames, std::string& problem) {
    std::vector<std::string> paths;
    if (!ListSpriteFolderImages(folder, paths, problem))
        return false;
    std::vector<RgbaImage> read;
    for (const std::string& path : paths) {
        DecodedPng png;
        if (!ReadPngFile(path, png, problem))
            return false;
        read.push_back(RgbaOfPng(png));
    }
    frames = std::move(read);
    return true;
}
