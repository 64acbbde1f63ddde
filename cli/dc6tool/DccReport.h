#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

// Writes what `dc6tool info` shows for one loaded DCC file: the header, each direction's
// plane, coding and colours, each frame's size and offsets, and whether the direction decodes
// using its streams to the bit. Returns false when the file is damaged: its headers can not be
// read or a direction does not decode.
bool DescribeDcc(const std::string& name, std::span<const uint8_t> file, std::ostream& out);
