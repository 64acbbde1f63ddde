#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Paths are 8-bit strings in the system's code page, relative to the current directory
// unless absolute, as the converter has always taken them.

// Reads the whole file. Fails when it cannot be opened or read in full, or is empty.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Creates or truncates `path` and writes `size` bytes in one piece. On failure no partial
// file is left behind.
bool WriteWholeFile(const std::string& path, const uint8_t* bytes, size_t size);
