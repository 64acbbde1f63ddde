#pragma once

#include "Dc6Encoder.h"
#include "Dc6Reader.h"

#include <cstdint>
#include <span>
#include <string>

// Decodes the frames of a loaded DCC file that `scope` converts (the first direction's, at
// most MaxFramesPerDirection of them, or every direction's) into the sprite model the DC6
// path uses, so that the images, sheets and unpacked folders are made the same way. Each
// frame is its box: offsets are the box's left column and bottom row, as a DC6 frame's are,
// and pixels of index 0 are transparent, as the game draws them. The DC6 header fields are
// those of a DC6 file of the same frames: terminators 0, the transparent index. Fails with a
// reason when the file or any direction in scope is damaged.
bool DecodeDccSprite(std::span<const uint8_t> file, Dc6FrameScope scope, Dc6Sprite& sprite, std::string& problem);

// The converter's refusal of a DCC file that DecodeDccSprite refused, with the batch window's
// question after it.
std::string DccRefusal(const std::string& problem);
