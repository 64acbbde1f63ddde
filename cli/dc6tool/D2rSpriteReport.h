#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

// Writes what `dc6tool info` shows for one loaded Diablo II: Resurrected sprite: its header,
// where each frame lies in the strip, and what the game's files do not hold (a non-zero
// unknown field, columns or bytes that are not read). Returns false when the file can not be
// read as a sprite, saying why.
bool DescribeD2rSprite(const std::string& name, std::span<const uint8_t> file, std::ostream& out);
