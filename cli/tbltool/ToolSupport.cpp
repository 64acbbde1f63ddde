#include "ToolSupport.h"

#include "Utf.h"

#include <algorithm>
#include <cstdio>

bool CommandLine::Has(std::string_view flag) const {
    return std::find(Flags.begin(), Flags.end(), flag) != Flags.end();
}

bool ParseCommandLine(const std::vector<std::string>& args, std::initializer_list<std::string_view> allowed,
                      CommandLine& line, std::string& error) {
    line = {};
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.Positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            line.Help = true;
        } else if (std::find(allowed.begin(), allowed.end(), arg) != allowed.end()) {
            line.Flags.push_back(arg);
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

int StartCommand(const std::vector<std::string>& args, std::initializer_list<std::string_view> allowed,
                 size_t positionalCount, const char* help, CommandLine& line) {
    std::string error;
    if (!ParseCommandLine(args, allowed, line, error)) {
        PrintError(error);
        std::fputs(help, stderr);
        return ExitUsage;
    }
    if (line.Help) {
        std::fputs(help, stdout);
        return ExitOk;
    }
    if (line.Positional.size() != positionalCount) {
        PrintError("expected " + std::to_string(positionalCount) + " file argument" +
                   (positionalCount == 1 ? "" : "s") + ", got " + std::to_string(line.Positional.size()));
        std::fputs(help, stderr);
        return ExitUsage;
    }
    return -1;
}

void PrintError(const std::string& text) { std::fprintf(stderr, "tbltool: %s\n", text.c_str()); }

bool ReportResult(const Result& result) {
    if (!result)
        PrintError(result.Caption + ": " + result.Message);
    return result.Ok;
}

std::u16string PathFromArgument(const std::string& argument) { return Utf8ToUtf16(argument); }

bool TakeOptionValue(std::vector<std::string>& args, std::string_view name, std::optional<std::string>& value,
                     std::string& error) {
    value.reset();
    for (size_t i = 0; i < args.size() && args[i] != "--";) {
        if (args[i] != name) {
            ++i;
            continue;
        }
        if (value) {
            error = std::string(name) + " is given twice";
            return false;
        }
        if (i + 1 == args.size()) {
            error = std::string(name) + " needs a value";
            return false;
        }
        value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return true;
}
