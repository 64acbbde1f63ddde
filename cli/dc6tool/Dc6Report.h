#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

// Writes what `dc6tool info` shows for one loaded file: the header, each frame's size,
// offsets and coded data, how its scanlines decode, and what is wrong with it. Returns
// whether the converter accepts the file (all frames, not only the first direction's).
bool DescribeDc6(const std::string& name, std::span<const uint8_t> file, std::ostream& out);
