#pragma once

// What the commands of tbltool share: exit codes, option parsing, help, messages on stderr.

#include "Result.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum ExitCode {
    ExitOk = 0,
    ExitFailure = 1,  // bad input or a failed operation
    ExitUsage = 2,    // wrong usage
};

struct CommandLine {
    std::vector<std::string> Positional;
    std::vector<std::string> Flags;  // the options given, as spelled ("--parse-on-load")
    bool Help = false;               // --help or -h

    bool Has(std::string_view flag) const;
};

// Splits `args` into positional arguments and the options of `allowed`; "--help" and "-h" are
// always allowed. An unknown option is an error. "--" ends the options.
bool ParseCommandLine(const std::vector<std::string>& args, std::initializer_list<std::string_view> allowed,
                      CommandLine& line, std::string& error);

// The usual start of a command: parses, prints `help` for --help (ExitOk), or the problem and
// the usage for wrong usage (ExitUsage); returns -1 when the command should go on.
int StartCommand(const std::vector<std::string>& args, std::initializer_list<std::string_view> allowed,
                 size_t positionalCount, const char* help, CommandLine& line);

// The whole program, given its arguments (without the program name) as UTF-8 (Main.cpp).
int RunTbltool(const std::vector<std::string>& args);

// "tbltool: <text>" on stderr.
void PrintError(const std::string& text);

// A failure of the core goes to stderr as "tbltool: <caption>: <text>"; returns whether the
// operation succeeded.
bool ReportResult(const Result& result);

// Arguments are UTF-8 (converted from UTF-16 on Windows); the core takes UTF-16 paths.
std::u16string PathFromArgument(const std::string& argument);

// Takes the option `name` and the argument after it ("--key-column 2") out of `args`, before
// any "--"; `value` stays empty when the option is absent. False, with `error` set, when the
// option is given twice or nothing follows it.
bool TakeOptionValue(std::vector<std::string>& args, std::string_view name, std::optional<std::string>& value,
                     std::string& error);
