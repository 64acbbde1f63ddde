#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

// Writes what `dc6tool info` shows for one loaded file: the header, each frame's size,
// offsets and coded data, how its scanlines decode, and what is wrong with it. Returns false
// when it found the file damaged: a problem in its header, frame table, any frame header or
// any frame's coded data.
bool DescribeDc6(const std::string& name, std::span<const uint8_t> file, std::ostream& out);

// The note `info` adds on which of a sprite's frames Morvane Convert and topcx convert: none
// past 12 frames a direction, else only the first direction's.
void DescribeConvertedScope(int32_t directions, int32_t framesPerDirection, std::ostream& out);
