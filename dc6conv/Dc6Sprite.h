#pragma once

#include "Dc6Encoder.h"
#include "Dc6Hooks.h"

#include <cstdint>
#include <span>
#include <string>

// Decodes every frame of every direction of a loaded file into pixels and opacity, with the
// header fields EncodeDc6 needs to write the file again. A frame that cannot be decoded
// makes it fail with a reason; decoder notices go through hooks.ShowNotice.
bool DecodeDc6Sprite(std::span<const uint8_t> file, const Dc6Hooks& hooks, Dc6Sprite& sprite, std::string& problem);
