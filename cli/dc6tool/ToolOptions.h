#pragma once

#include "FrameImages.h"

#include <optional>
#include <string>
#include <vector>

enum class ToolCommand { Help, Info, ToPcx, ToPng, Unpack, Pack, FromImage, ToSprite };

struct ToolOptions {
    ToolCommand command = ToolCommand::Help;
    std::vector<std::string> files;  // DC6 or .sprite files, the folder to pack, or the images of fromimage
    std::string outputFolder;   // topcx, topng, unpack: where the output goes; "" for the current folder
    std::string outputFile;     // pack, fromimage, tosprite: the file written; "" for the default
    std::string palettePath;    // "" for the built-in palette
    unsigned jobs = 0;          // 0: one per core
    bool allFrames = false;
    bool help = false;          // COMMAND --help: that command's usage is asked for
    bool offsetGiven = false;   // fromimage: every frame's offsets, else those of each PNG's oFFs
    unsigned alphaThreshold = DefaultAlphaThreshold;  // pack, fromimage: lower alpha is transparent
    std::optional<uint8_t> pcxTransparentIndex;       // fromimage: else TopcxBackgroundIndex
    int offsetX = 0;
    int offsetY = 0;
    int scale = 1;              // tosprite: each pixel becomes scale x scale
};

// Reads the arguments after the program name. Fails with a reason on wrong usage.
bool ParseToolOptions(const std::vector<std::string>& args, ToolOptions& options, std::string& error);

// How to use `command`: its synopsis, what it does and the options it takes; for
// ToolCommand::Help, every command and option.
std::string ToolUsage(ToolCommand command);
