#pragma once

#include "Dc6Hooks.h"
#include "Image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Which frames of a DC6 file are converted.
enum class Dc6FrameScope {
    FirstDirection,  // the first direction's frames, at most 12: what the batch window converts
    AllFrames,       // every frame of every direction, in table order
};

constexpr int32_t MaxFramesPerDirection = 12;

// The code byte of a frame's coded data that ends a row; a byte above it is a run of that many
// minus 0x80 transparent pixels.
constexpr uint8_t Dc6EndOfLine = 0x80;

// What GetFileInfoDC6 finds in a file's header and frame table.
struct Dc6FileInfo {
    Dc6FrameScope scope = Dc6FrameScope::FirstDirection;
    int32_t directions = 0;
    int32_t framesPerDirection = 0;
    // T0 to T3: T1 to T3 end a frame early, T3 is also the background index.
    std::array<uint8_t, 4> terminators{};
    // File offset of each converted frame's header.
    std::vector<uint32_t> framePositions;
    // Whether any converted frame (whose header could be read) has a non-zero offset.
    bool hasOffsets = false;

    uint8_t Background() const { return terminators[3]; }
    int32_t FrameCount() const { return static_cast<int32_t>(framePositions.size()); }
};

// One frame's header as read from the file.
struct Dc6FrameInfo {
    int32_t width = 0;
    int32_t height = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t length = 0;        // bytes of coded scanlines there are, at most the stored length
    int32_t storedLength = 0;  // the header's length field
    size_t headerPosition = 0;
    size_t dataPosition = 0;   // headerPosition + 32
};

constexpr size_t Dc6HeaderSize = 24;
constexpr size_t Dc6FrameHeaderSize = 32;

// Checks the header and frame table of a loaded file and fills `info`. On failure the reason
// has gone through hooks.NotifyError.
bool GetFileInfoDC6(std::span<const uint8_t> file, const Dc6Hooks& hooks, Dc6FileInfo& info,
                    Dc6FrameScope scope = Dc6FrameScope::FirstDirection);

// "Frame 0 is skipped: " and the reason GetFrameInfoDC6 gave, for a frame it can not read.
std::string SkippedFrameNotice(int32_t index, const std::string& problem);

// Reads frame `index` (0-based, of info's frames). Fails with a reason ("its header at
// 0x1C lies past the end of the file") when the header is not all inside the file or the
// frame's size cannot be an image; `frame` then holds whatever could be read. Coded data
// that run past the end of the file are cut to the bytes there are (`length` below
// `storedLength`; FrameNotice says so): the rows they hold are decoded. A length field below
// 1 is damaged and kept as it reads: the decoder then reads the bytes there are.
bool GetFrameInfoDC6(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index,
                     Dc6FrameInfo& frame, std::string& problem);
