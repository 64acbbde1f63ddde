#pragma once

// What the commands of tbltool share: exit codes, option parsing, help, messages on stderr.

#include "Result.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

enum ExitCode {
    ExitOk = 0,
    ExitFailure = 1,  // bad input or a failed operation
    ExitUsage = 2,    // wrong usage
};

// The options and file arguments of one command, parsed with CLI11. A command declares its
// options, then calls Parse: "--help" and "-h" print `help` on stdout (ExitOk); an unknown
// option, a missing or malformed option value, an option given twice or the wrong number of
// file arguments prints the problem and `help` on stderr (ExitUsage). "--" ends the options.
class CommandOptions {
public:
    CommandOptions(const char* help, size_t fileCount);
    ~CommandOptions();
    CommandOptions(const CommandOptions&) = delete;
    CommandOptions& operator=(const CommandOptions&) = delete;

    // An option without a value ("--utf8"); may be repeated.
    CommandOptions& Flag(const std::string& name, bool& given);
    // An option with a value ("--lang deDE" or "--lang=deDE"), at most once.
    CommandOptions& Text(const std::string& name, std::optional<std::string>& value);
    // An option with a whole number from 0 ("--key-column 2"), at most once.
    CommandOptions& Number(const std::string& name, std::optional<size_t>& value);

    // -1 when the command should go on, else the exit status to return.
    int Parse(const std::vector<std::string>& args);

    // The file arguments, in order (after a successful Parse).
    const std::vector<std::string>& Files() const { return files_; }
    const std::string& File(size_t i) const { return files_.at(i); }

private:
    const char* help_;
    size_t fileCount_;
    bool helpWanted_ = false;
    std::vector<std::string> files_;
    std::unique_ptr<CLI::App> app_;
};

// The whole program, given its arguments (without the program name) as UTF-8 (Main.cpp).
int RunTbltool(const std::vector<std::string>& args);

// "tbltool: <text>" on stderr, where every message goes: errors, warnings and what a command
// did. Standard output carries only data (info's report, diff's lines, text written to "-").
void PrintMessage(const std::string& text);

// A failure of the core about `file` goes to stderr as "tbltool: <file>: <text>"; returns
// whether the operation succeeded. A file that could not be opened or read is said in the file
// layer's words ("could not open the file: No such file or directory") whichever part of the
// core failed, so every command says it alike and names the file once.
bool ReportResult(const std::string& file, const Result& result);

// Arguments are UTF-8 (converted from UTF-16 on Windows); the core takes UTF-16 paths.
std::u16string PathFromArgument(const std::string& argument);
