#pragma once

#include "FileIo.h"
#include "Palette.h"
#include "ToolOptions.h"

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

// dc6tool's commands on Diablo II: Resurrected sprites. `rgb` is the run's palette (red,
// green, blue). Each reports what went wrong on `messages`, one line per problem, naming the
// file, and returns whether everything asked for was written.

// Whether pack and fromimage write a sprite to `path`: its name ends in ".sprite", in any case.
bool NamesD2rSprite(const std::string& path);

// tosprite: each DC6 file as a sprite, -o or the file's name with ".sprite".
bool RunToSprite(const ToolOptions& options, const Palette& rgb, std::ostream& messages);

// unpack of one loaded sprite file `path` into `folder`, its PNGs named after `name`.
bool UnpackD2rSprite(OutputBatch& outputs, const std::string& path, std::span<const uint8_t> bytes,
                     const std::string& folder, const std::string& name, std::ostream& messages);

// pack FOLDER -o OUT.sprite, and fromimage -o OUT.sprite: the PNGs' (and sprites') own
// colours and alpha.
bool PackD2rSprite(const std::string& folder, const std::string& out, std::ostream& messages);
bool FromImagesToD2rSprite(const std::vector<std::string>& images, const std::string& out, std::ostream& messages);
