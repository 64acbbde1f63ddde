#pragma once

#include "Palette.h"
#include "ToolOptions.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// dc6tool unpack, pack and fromimage, on DC6 files and (through D2rSpriteCommands) sprites. `rgb` is the run's palette (red, green, blue). Each
// reports what went wrong on `messages`, one line per problem, naming the file, and returns
// whether everything asked for was written.
bool RunUnpack(const ToolOptions& options, const Palette& rgb, std::ostream& messages);
bool RunPack(const ToolOptions& options, const Palette& rgb, std::ostream& messages);
bool RunFromImage(const ToolOptions& options, const Palette& rgb, std::ostream& messages);

// Writes the bytes an encoder made to `path` (WriteWholeFile); says on `messages`,
// naming the file, why an encoder that failed (`encoded` false) or the write did not.
bool WriteEncodedFile(bool encoded, const std::vector<uint8_t>& file, const std::string& problem,
                      const std::string& path, std::ostream& messages);
