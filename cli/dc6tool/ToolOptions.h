#pragma once

#include <string>
#include <vector>

enum class ToolCommand { Help, Info, ToPcx };

struct ToolOptions {
    ToolCommand command = ToolCommand::Help;
    std::vector<std::string> files;
    std::string outputFolder;   // the folder PCXFiles goes into; "" for the current folder
    std::string palettePath;    // "" for the built-in palette
    unsigned jobs = 0;          // 0: one per core
    bool allFrames = false;
};

// Reads the arguments after the program name. Fails with a reason on wrong usage.
bool ParseToolOptions(const std::vector<std::string>& args, ToolOptions& options, std::string& error);

extern const char ToolUsage[];
