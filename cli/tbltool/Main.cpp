#include "ToolSupport.h"

#include <cstdio>
#include <string>
#include <vector>

#define TBLTOOL_COMMAND(name, summary, function) int function(const std::vector<std::string>& args);
#include "Commands.inc"
#undef TBLTOOL_COMMAND

namespace {

struct ToolCommand {
    const char* Name;
    const char* Summary;
    int (*Run)(const std::vector<std::string>& args);
};

constexpr ToolCommand Commands[] = {
#define TBLTOOL_COMMAND(name, summary, function) {name, summary, function},
#include "Commands.inc"
#undef TBLTOOL_COMMAND
};

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: tbltool COMMAND [ARGUMENTS]\n"
               "Reads and writes Diablo II string tables (.tbl).\n\nCommands:\n",
               out);
    for (const ToolCommand& c : Commands)
        std::fprintf(out, "  %-12s %s\n", c.Name, c.Summary);
    std::fputs("\n'tbltool COMMAND --help' describes a command.\n"
               "Exit status: 0 success, 1 bad input or failure, 2 wrong usage; check exits 1 when it\n"
               "finds something and 2 also when a file cannot be read.\n",
               out);
}

}  // namespace

int RunTbltool(const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintUsage(stderr);
        return ExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(stdout);
        return ExitOk;
    }
    for (const ToolCommand& c : Commands)
        if (args[0] == c.Name)
            return c.Run(std::vector<std::string>(args.begin() + 1, args.end()));
    PrintMessage("unknown command " + args[0]);
    PrintUsage(stderr);
    return ExitUsage;
}
