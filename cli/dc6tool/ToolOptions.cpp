#include "ToolOptions.h"

#include <charconv>

const char ToolUsage[] =
    "Usage:\n"
    "  dc6tool info FILE.dc6...\n"
    "      Shows each file's header, every frame's size, offsets and coded length, and what is\n"
    "      wrong with a damaged file.\n"
    "  dc6tool topcx [-o DIR] [--palette FILE] [--jobs N] [--all-frames] FILE.dc6...\n"
    "      Converts DC6 files into 8-bit PCX files in DIR/PCXFiles (DIR: the current folder).\n"
    "      A file whose frames have no offsets becomes one sheet NAME.pcx, any other one file\n"
    "      per frame NAME0.pcx, NAME1.pcx... Only the first direction's frames are converted,\n"
    "      at most 12, as Morvane Convert does.\n"
    "      -o DIR          folder in which PCXFiles is made\n"
    "      --palette FILE  a palette: the game's 768-byte pal.dat (blue, green, red), a .pl2,\n"
    "                      a .act (red, green, blue), JASC-PAL text or a RIFF PAL file;\n"
    "                      default: the built-in act 1 palette\n"
    "      --jobs N        files converted at once (default: one per core); output is the same\n"
    "      --all-frames    every frame of every direction, one file per frame, numbered across\n"
    "                      directions (fonts, icon sets, animations)\n"
    "  dc6tool --help\n"
    "Exit status: 0 when every file was converted, 1 when any was not, 2 on wrong usage.\n";

namespace {

// Takes the value of an option given as "--name VALUE" or "--name=VALUE".
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value,
               bool& matched, std::string& error) {
    const std::string& arg = args[i];
    matched = false;
    if (arg == name) {
        matched = true;
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return false;
        }
        value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        matched = true;
        value = arg.substr(name.size() + 1);
        return true;
    }
    return true;
}

bool ParseJobs(const std::string& text, unsigned& jobs, std::string& error) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1 || value > 256) {
        error = "--jobs takes a number from 1 to 256, not \"" + text + "\"";
        return false;
    }
    jobs = value;
    return true;
}

}  // namespace

bool ParseToolOptions(const std::vector<std::string>& args, ToolOptions& options, std::string& error) {
    options = ToolOptions{};
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        options.command = ToolCommand::Help;
        return true;
    }
    if (command == "info") {
        options.command = ToolCommand::Info;
    } else if (command == "topcx") {
        options.command = ToolCommand::ToPcx;
    } else {
        error = "unknown command \"" + command + "\"";
        return false;
    }

    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.command = ToolCommand::Help;
            return true;
        }
        if (options.command == ToolCommand::ToPcx) {
            if (arg == "--all-frames") {
                options.allFrames = true;
                continue;
            }
            bool matched = false;
            std::string value;
            if (!TakeValue(args, i, "-o", value, matched, error))
                return false;
            if (matched) {
                options.outputFolder = value;
                continue;
            }
            if (!TakeValue(args, i, "--palette", value, matched, error))
                return false;
            if (matched) {
                options.palettePath = value;
                continue;
            }
            if (!TakeValue(args, i, "--jobs", value, matched, error))
                return false;
            if (matched) {
                if (!ParseJobs(value, options.jobs, error))
                    return false;
                continue;
            }
        }
        error = "unknown option \"" + arg + "\" for " + command;
        return false;
    }
    if (options.files.empty()) {
        error = command + " needs at least one DC6 file";
        return false;
    }
    return true;
}
