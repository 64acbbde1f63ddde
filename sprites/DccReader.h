#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A DCC file holds the game's animations: directions x frames, each direction one bit stream.
// The file header is 15 bytes (signature 0x74, version 6, directions, frames per direction,
// a 32-bit tag and the decoded size), then one 32-bit file offset per direction.
constexpr uint8_t DccSignature = 0x74;
constexpr uint8_t DccVersion = 6;
constexpr size_t DccHeaderSize = 15;

// A rectangle of the direction's plane, in the game's screen coordinates around the unit's
// origin: y grows downwards.
struct DccBox {
    int64_t left = 0;
    int64_t top = 0;
    int64_t width = 0;
    int64_t height = 0;

    int64_t Right() const { return left + width - 1; }
    int64_t Bottom() const { return top + height - 1; }
};

// One frame's header, read from its direction's bit stream.
struct DccFrameHeader {
    uint32_t variable0 = 0;      // unused by the game
    uint32_t optionalBytes = 0;  // bytes of extra data stored after the frame headers
    uint32_t codedBytes = 0;
    int32_t xOffset = 0;         // the frame's left column
    int32_t yOffset = 0;         // its bottom row (its top row when stored bottom-up)
    bool bottomUp = false;
    DccBox box;

    // The offsets a DC6 frame of the same place would have: its left column and bottom row.
    int32_t OffsetX() const { return static_cast<int32_t>(box.left); }
    int32_t OffsetY() const { return static_cast<int32_t>(box.Bottom()); }
    bool HasOffsets() const { return OffsetX() != 0 || OffsetY() != 0; }
};

// A bit window of the direction: where one of its compressed streams lies.
struct DccStream {
    uint64_t start = 0;  // in bits from the file's first byte
    uint64_t bits = 0;
};

// What the header of one direction says: its frames and where its streams lie.
struct DccDirection {
    uint32_t position = 0;       // file offset of the direction's bit stream
    uint64_t endBit = 0;         // where its bits end: the next direction, else the end of the file
    uint32_t outSizeCoded = 0;
    uint8_t compression = 0;     // bit 1: equal cells are coded; bit 0: pixels may be stored raw
    std::vector<DccFrameHeader> frames;
    DccBox box;                  // the union of the frames' boxes
    DccStream equalCells, pixelMask, encodingType, rawPixels, pixelCodes;
    // The palette indices the direction uses, in increasing order: pixel codes index this list.
    std::array<uint8_t, 256> pixelValues{};
    int32_t pixelValueCount = 0;

    bool HasEqualCells() const { return (compression & 2) != 0; }
    bool HasRawPixels() const { return (compression & 1) != 0; }
};

struct DccFileInfo {
    int32_t directions = 0;
    int32_t framesPerDirection = 0;
    uint32_t tag = 0;
    uint32_t decodedSize = 0;
    std::vector<DccDirection> directionHeaders;

    int32_t FrameCount() const { return directions * framesPerDirection; }
};

// Whether a file is to be read as DCC: its first byte is the DCC signature, or its name ends
// in ".dcc" (so that a damaged one is refused in DCC's terms).
bool IsDccFile(const std::string& name, std::span<const uint8_t> file);
bool IsDccFile(const std::u16string& name, std::span<const uint8_t> file);

// Reads the file header, every direction's header and frame headers. Fails with a reason that
// names the direction ("direction 3: its frame headers end past its data") when any is
// damaged: a wrong signature or version, offsets outside the file, bit fields running past a
// direction's bytes, frame boxes that are no image or a direction larger than the converter
// takes (MaxImageSide a side, MaxImagePixels in all).
bool GetFileInfoDcc(std::span<const uint8_t> file, DccFileInfo& info, std::string& problem);
