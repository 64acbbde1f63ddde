#include "SpriteFolder.h"

#include "FileIo.h"
#include "FrameImages.h"
#include "OutputNames.h"
#include "PngCodec.h"
#include "TextFormat.h"
#include "Utf.h"

#include <set>
#include <sstream>

namespace {

constexpr char ManifestFirstLine[] = "DC6 sprite folder 1";

struct ListedFrame {
    Dc6SourceFrame header;  // offsets, flip and unknown field
    int direction = 0;
    int index = 0;
    std::string file;
};

std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + name : folder + PathSeparator + name;
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += FormatText(i == 0 ? "%02X" : " %02X", bytes[i]);
    return text;
}

std::string ManifestText(const Dc6Sprite& sprite, const std::vector<std::string>& files) {
    std::ostringstream out;
    out << ManifestFirstLine << '\n'
        << "flags " << sprite.flags << '\n'
        << "encoding " << sprite.encoding << '\n'
        << "terminators " << HexBytes(sprite.terminators.data(), 4) << '\n'
        << "frame-terminator "
        << (sprite.frameTerminator ? HexBytes(sprite.frameTerminator->data(), 3) : std::string("none")) << '\n'
        << "directions " << sprite.directions << '\n'
        << "frames-per-direction " << sprite.framesPerDirection << '\n';
    for (size_t i = 0; i < sprite.frames.size(); ++i) {
        const Dc6SourceFrame& frame = sprite.frames[i];
        const size_t direction = i / static_cast<size_t>(sprite.framesPerDirection);
        const size_t index = i % static_cast<size_t>(sprite.framesPerDirection);
        if (frame.unreadablePointer) {
            out << FormatText("unreadable-frame %zu %zu %08X\n", direction, index,
                              static_cast<unsigned>(*frame.unreadablePointer));
            continue;
        }
        out << "frame " << direction << ' ' << index << ' ' << frame.offsetX << ' ' << frame.offsetY << ' '
            << frame.flip << ' ' << frame.unknown << ' ' << files[i] << '\n';
    }
    return out.str();
}

bool ReadHexBytes(std::istringstream& in, uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        unsigned value = 0;
        if (!(in >> std::hex >> value) || value > 0xFF)
            return false;
        bytes[i] = static_cast<uint8_t>(value);
    }
    in >> std::dec;
    return true;
}

// One manifest line after its keyword; fails when it does not hold what the keyword needs.
bool ReadManifestLine(const std::string& keyword, std::istringstream& in, Dc6Sprite& sprite,
                      std::vector<ListedFrame>& frames, std::set<std::pair<int, int>>& seen,
                      std::string& problem) {
    if (keyword == "flags")
        return static_cast<bool>(in >> sprite.flags);
    if (keyword == "encoding")
        return static_cast<bool>(in >> sprite.encoding);
    if (keyword == "terminators")
        return ReadHexBytes(in, sprite.terminators.data(), 4);
    if (keyword == "frame-terminator") {
        std::string rest;
        std::getline(in >> std::ws, rest);
        if (rest == "none") {
            sprite.frameTerminator.reset();
            return true;
        }
        std::istringstream bytes(rest);
        sprite.frameTerminator.emplace();
        return ReadHexBytes(bytes, sprite.frameTerminator->data(), 3);
    }
    if (keyword == "directions")
        return static_cast<bool>(in >> sprite.directions);
    if (keyword == "frames-per-direction")
        return static_cast<bool>(in >> sprite.framesPerDirection);
    if (keyword == "frame" || keyword == "unreadable-frame") {
        ListedFrame frame;
        Dc6SourceFrame& h = frame.header;
        if (!(in >> frame.direction >> frame.index))
            return false;
        if (keyword == "unreadable-frame") {
            uint32_t pointer = 0;
            if (!(in >> std::hex >> pointer))
                return false;
            h.unreadablePointer = pointer;
        } else if (!(in >> h.offsetX >> h.offsetY >> h.flip >> h.unknown) ||
                   !std::getline(in >> std::ws, frame.file) || frame.file.empty()) {
            return false;
        }
        if (!seen.insert({frame.direction, frame.index}).second) {
            problem = FormatText("frame %d of direction %d is listed twice", frame.index, frame.direction);
            return false;
        }
        frames.push_back(std::move(frame));
        return true;
    }
    problem = "unknown keyword \"" + keyword + "\"";
    return false;
}

bool ReadManifest(const std::string& folder, Dc6Sprite& sprite,
                  std::vector<ListedFrame>& frames, std::string& problem) {
    const std::string path = InFolder(folder, SpriteManifestName);
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        problem = path + " can not be read: the folder is not an unpacked sprite";
        return false;
    }
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::string line;
    std::getline(text, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line != ManifestFirstLine) {
        problem = path + ": its first line is not \"" + ManifestFirstLine + "\"";
        return false;
    }
    std::set<std::pair<int, int>> seen;
    for (int number = 2; std::getline(text, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream in(line);
        std::string keyword;
        if (!(in >> keyword))
            continue;
        std::string reason;
        if (!ReadManifestLine(keyword, in, sprite, frames, seen, reason)) {
            problem = FormatText("%s line %d: %s", path.c_str(), number,
                                 reason.empty() ? "its values can not be read" : reason.c_str());
            return false;
        }
    }
    const int64_t expected = static_cast<int64_t>(sprite.directions) * sprite.framesPerDirection;
    if (sprite.directions < 1 || sprite.framesPerDirection < 1 || expected != static_cast<int64_t>(frames.size())) {
        problem = FormatText("%s lists %zu frame(s) for %d direction(s) of %d frame(s)", path.c_str(), frames.size(),
                             static_cast<int>(sprite.directions), static_cast<int>(sprite.framesPerDirection));
        return false;
    }
    for (const ListedFrame& frame : frames) {
        if (frame.direction < 0 || frame.direction >= sprite.directions || frame.index < 0 ||
            frame.index >= sprite.framesPerDirection) {
            problem = FormatText("%s: frame %d of direction %d lies outside %d direction(s) of %d frame(s)",
                                 path.c_str(), frame.index, frame.direction, static_cast<int>(sprite.directions),
                                 static_cast<int>(sprite.framesPerDirection));
            return false;
        }
    }
    return true;
}

}  // namespace

bool WriteSpriteFolder(OutputBatch& outputs, const Dc6Sprite& sprite, const std::string& folder,
                       const std::string& name, const Palette& rgbPalette, std::vector<std::string>& notices,
                       std::string& problem) {
    MakeFolders(Utf8ToUtf16(folder));
    std::vector<std::string> files;
    std::vector<uint8_t> png;
    for (size_t i = 0; i < sprite.frames.size(); ++i) {
        const size_t perDirection = static_cast<size_t>(sprite.framesPerDirection);
        files.push_back(SpriteFramePngName(name, i / perDirection, i % perDirection));
        const Dc6SourceFrame& frame = sprite.frames[i];
        if (frame.unreadablePointer)
            continue;
        const FrameAsImage image = ImageOfFrame(frame, sprite.terminators[3]);
        if (image.sharedIndex)
            notices.push_back(FormatText("frame %zu uses all 256 colours: its transparent pixels share index %d with "
                                         "opaque ones and will be opaque when packed",
                                         i, static_cast<int>(image.transparentIndex)));
        const IndexedPngImage source{&image.image, &rgbPalette, image.transparentIndex,
                                     PngFrameOffsets{frame.offsetX, frame.offsetY}};
        const std::string path = InFolder(folder, files.back());
        if (!EncodeIndexedPng(source, png, problem))
            return false;
        if (!outputs.Write(Utf8ToUtf16(path), png)) {
            problem = "The file " + path + " could not be created or written.";
            return false;
        }
    }
    return WriteSpriteManifest(outputs, sprite, files, folder, problem);
}

std::string SpriteFramePngName(const std::string& name, size_t direction, size_t frame) {
    return FormatText("%s_%zu_%zu.png", name.c_str(), direction, frame);
}

bool WriteSpriteManifest(OutputBatch& outputs, const Dc6Sprite& sprite, const std::vector<std::string>& files,
                         const std::string& folder, std::string& problem) {
    const std::string manifest = ManifestText(sprite, files);
    const std::string path = InFolder(folder, SpriteManifestName);
    if (!outputs.Write(Utf8ToUtf16(path), {reinterpret_cast<const uint8_t*>(manifest.data()), manifest.size()})) {
        problem = "The file " + path + " could not be created or written.";
        return false;
    }
    return true;
}

bool ListSpriteFolderImages(const std::string& folder, std::vector<std::string>& paths, std::string& problem) {
    Dc6Sprite read;
    std::vector<ListedFrame> listed;
    if (!ReadManifest(folder, read, listed, problem))
        return false;
    std::vector<std::string> found(listed.size());
    for (const ListedFrame& frame : listed)
        if (!frame.header.unreadablePointer)
            found[static_cast<size_t>(frame.direction) * static_cast<size_t>(read.framesPerDirection) +
                  static_cast<size_t>(frame.index)] = InFolder(folder, frame.file);
    paths.clear();
    for (std::string& path : found)
        if (!path.empty())
            paths.push_back(std::move(path));
    return true;
}

bool ReadSpriteFolder(const std::string& folder, const Palette& rgbPalette, uint8_t alphaThreshold, Dc6Sprite& sprite,
                      std::string& problem) {
    Dc6Sprite read;
    std::vector<ListedFrame> listed;
    if (!ReadManifest(folder, read, listed, problem))
        return false;
    read.frames.resize(listed.size());
    for (const ListedFrame& frame : listed) {
        const size_t position = static_cast<size_t>(frame.direction) * static_cast<size_t>(read.framesPerDirection) +
                                static_cast<size_t>(frame.index);
        if (frame.header.unreadablePointer) {
            read.frames[position] = frame.header;
            continue;
        }
        const std::string path = InFolder(folder, frame.file);
        DecodedPng png;
        if (!ReadPngFile(path, png, problem))
            return false;
        Dc6SourceFrame fromImage;
        FrameFromPng(png, rgbPalette, alphaThreshold, fromImage);
        fromImage.offsetX = frame.header.offsetX;
        fromImage.offsetY = frame.header.offsetY;
        fromImage.flip = frame.header.flip;
        fromImage.unknown = frame.header.unknown;
        read.frames[position] = std::move(fromImage);
    }
    sprite = std::move(read);
    return true;
}
