#pragma once

#include "Palette.h"
#include "ToolOptions.h"

#include <ostream>

// dc6tool unpack, pack and fromimage, on DC6 files and (through D2rSpriteCommands) sprites. `rgb` is the run's palette (red, green, blue). Each
// reports what went wrong on `messages`, one line per problem, naming the file, and returns
// whether everything asked for was written.
bool RunUnpack(const ToolOptions& options, const Palette& rgb, std::ostream& messages);
bool RunPack(const ToolOptions& options, const Palette& rgb, std::ostream& messages);
bool RunFromImage(const ToolOptions& options, const Palette& rgb, std::ostream& messages);
