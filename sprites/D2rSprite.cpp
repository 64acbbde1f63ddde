#include "D2rSprite.h"

#include "ByteReader.h"
#include "TextFormat.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t Magic[4] = {'S', 'p', 'A', '1'};

void PutU16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
    PutU16(at, value);
    PutU16(at + 2, value >> 16);
}

}  // namespace

bool LooksLikeD2rSprite(std::span<const uint8_t> bytes) {
    return bytes.size() >= sizeof Magic && std::equal(Magic, Magic + sizeof Magic, bytes.begin());
}

bool ReadD2rSpriteHeader(std::span<const uint8_t> file, D2rSpriteHeader& header, std::string& problem) {
    header = D2rSpriteHeader{};
    if (!LooksLikeD2rSprite(file)) {
        problem = "not a Diablo II: Resurrected sprite (it does not start with \"SpA1\")";
        return false;
    }
    if (file.size() < D2rSpriteHeaderSize) {
        problem = FormatText("the file is cut short: its header needs %zu bytes, the file has %zu",
                             D2rSpriteHeaderSize, file.size());
        return false;
    }
    ByteReader reader(file, sizeof Magic);
    header.version = reader.U16LE();
    header.frameWidth = reader.U16LE();
    header.stripWidth = reader.U32LE();
    header.height = reader.U32LE();
    header.unknown = reader.U32LE();
    header.frameCount = reader.U32LE();
    header.zeroTail = std::all_of(file.begin() + 24, file.begin() + D2rSpriteHeaderSize,
                                  [](uint8_t byte) { return byte == 0; });
    if (header.version != D2rSpriteVersion) {
        problem = FormatText("version %u: only version %u, whose pixels are stored uncompressed, is read",
                             unsigned{header.version}, unsigned{D2rSpriteVersion});
        return false;
    }
    if (header.frameCount == 0) {
        problem = "it holds no frames (its frame count is 0)";
        return false;
    }
    if (!ImageSizeAllowed(header.stripWidth, header.height)) {
        problem = FormatText("its strip of %u x %u pixels is no image the converter makes: each side must be 1 to "
                             "%d pixels, at most %zu pixels in all",
                             header.stripWidth, header.height, static_cast<int>(MaxImageSide), MaxImagePixels);
        return false;
    }
    if (header.frameWidth == 0 || uint64_t{header.frameWidth} * header.frameCount > header.stripWidth) {
        problem = FormatText("%u frame(s) %u pixels wide do not fit in its strip %u pixels wide", header.frameCount,
                             unsigned{header.frameWidth}, header.stripWidth);
        return false;
    }
    if (header.PixelBytes() > file.size() - D2rSpriteHeaderSize) {
        problem = FormatText("its pixels are cut short: %u x %u pixels take %zu bytes after the header, the file "
                             "has %zu",
                             header.stripWidth, header.height, header.PixelBytes(), file.size() - D2rSpriteHeaderSize);
        return false;
    }
    return true;
}

bool DecodeD2rSprite(std::span<const uint8_t> file, std::vector<RgbaImage>& frames, std::string& problem) {
    D2rSpriteHeader header;
    if (!ReadD2rSpriteHeader(file, header, problem))
        return false;
    const size_t rowBytes = size_t{header.frameWidth} * 4;
    const size_t stride = size_t{header.stripWidth} * 4;
    std::vector<RgbaImage> read(header.frameCount);
    for (size_t i = 0; i < read.size(); ++i) {
        RgbaImage& frame = read[i];
        frame.width = header.frameWidth;
        frame.height = static_cast<int32_t>(header.height);
        frame.pixels.resize(rowBytes * header.height);
        const uint8_t* source = file.data() + D2rSpriteHeaderSize + i * rowBytes;
        for (size_t y = 0; y < header.height; ++y)
            std::memcpy(frame.pixels.data() + y * rowBytes, source + y * stride, rowBytes);
    }
    frames = std::move(read);
    return true;
}

bool EncodeD2rSprite(const std::vector<RgbaImage>& frames, std::vector<uint8_t>& file, std::string& problem) {
    if (frames.empty()) {
        problem = "a sprite needs at least one frame";
        return false;
    }
    const int32_t width = frames.front().width;
    const int32_t height = frames.front().height;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].width != width || frames[i].height != height) {
            problem = FormatText("its frames differ in size (frame 0 is %d x %d pixels, frame %zu %d x %d): a sprite's "
                                 "frames are all of one size",
                                 static_cast<int>(width), static_cast<int>(height), i,
                                 static_cast<int>(frames[i].width), static_cast<int>(frames[i].height));
            return false;
        }
    }
    if (frames.size() > size_t(MaxImageSide) || !ImageSizeAllowed(width, height) ||
        !ImageSizeAllowed(int64_t(width) * static_cast<int64_t>(frames.size()), height)) {
        problem = FormatText("%zu frame(s) of %d x %d pixels make a strip larger than the converter takes (each side 1 "
                             "to %d pixels, at most %zu pixels in all)",
                             frames.size(), static_cast<int>(width), static_cast<int>(height),
                             static_cast<int>(MaxImageSide), MaxImagePixels);
        return false;
    }
    const size_t stripWidth = size_t(width) * frames.size();
    const size_t rowBytes = size_t(width) * 4;
    const size_t stride = stripWidth * 4;
    file.assign(D2rSpriteHeaderSize + stride * size_t(height), 0);
    std::copy(Magic, Magic + sizeof Magic, file.begin());
    PutU16(&file[4], D2rSpriteVersion);
    PutU16(&file[6], static_cast<uint32_t>(width));
    PutU32(&file[8], static_cast<uint32_t>(stripWidth));
    PutU32(&file[12], static_cast<uint32_t>(height));
    PutU32(&file[20], static_cast<uint32_t>(frames.size()));
    for (size_t i = 0; i < frames.size(); ++i) {
        const RgbaImage& frame = frames[i];
        if (frame.pixels.size() != rowBytes * size_t(height)) {
            problem = FormatText("frame %zu holds %zu bytes of pixels, not the %zu of its size", i, frame.pixels.size(),
                                 rowBytes * size_t(height));
            return false;
        }
        uint8_t* target = file.data() + D2rSpriteHeaderSize + i * rowBytes;
        for (size_t y = 0; y < size_t(height); ++y)
            std::memcpy(target + y * stride, frame.pixels.data() + y * rowBytes, rowBytes);
    }
    return true;
}
