#pragma once

#include "Dc6Encoder.h"
#include "Dc6Hooks.h"
#include "Dc6Reader.h"

#include <cstdint>
#include <span>
#include <string>

// Decodes every frame of every direction of a loaded file into pixels and opacity, with the
// header fields EncodeDc6 needs to write the file again. A frame whose header can not be read,
// or too large to be made an image, is kept as unreadable (its pointer, no pixels) with a
// notice, as the conversions skip it; the frame terminator is read after the first readable
// frame. A header that can not be read makes it fail with a reason; notices go through
// hooks.ShowNotice.
bool DecodeDc6Sprite(std::span<const uint8_t> file, const Dc6Hooks& hooks, Dc6Sprite& sprite, std::string& problem);

// Decodes frame `index`, whose header GetFrameInfoDC6 read into `header`, into `frame`: its
// pixels, which of them are opaque, its offsets and the header fields kept for writing. What
// was wrong with the coded data goes out as one notice. Fails, leaving `frame` alone, when
// the frame's images can not be made (too large, or no memory).
bool DecodeDc6FrameWithOpacity(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index,
                               const Dc6FrameInfo& header, const Dc6Hooks& hooks, Dc6SourceFrame& frame);
