#pragma once

#include "Dc6Reader.h"
#include "OutputNames.h"
#include "Palette.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct BatchRequest {
    std::vector<std::string> files;  // DC6 or .sprite paths; outputs are named after their file names
    std::string outputFolder;        // where PCXFiles is made; "" for the current folder
    Palette rgbPalette{};            // red, green, blue per entry
    Dc6FrameScope scope = Dc6FrameScope::FirstDirection;
    unsigned jobs = 1;               // files converted at once
    ImageKind kind = ImageKind::Pcx;
};

// Receives, in the order of the files and on the calling thread, every message a file's
// conversion gave: the converter's error and notice texts and "can not be read".
using BatchMessageSink = std::function<void(const std::string& file, const std::string& message)>;

// Told on the calling thread each time a file is done, with the files done and the total.
using BatchProgress = std::function<void(size_t done, size_t total)>;

// Converts every file as the batch window does (read, check, convert), `jobs` files at a
// time. Whatever `jobs` is, the files written and the messages are the same: before any file
// is converted, every file whose output names (sheet or frames, compared without regard to
// case) meet those of a file given before it is refused. The images are written whole and
// made durable together once all files are done. Returns the number of files that gave at
// least one image file.
size_t ConvertBatch(const BatchRequest& request, const BatchMessageSink& sink, const BatchProgress& progress = {});
