#include "ToolSupport.h"

#include "TblCompiler.h"
#include "TblLoader.h"

#include <cstdio>

namespace {

const char Help[] =
    "Usage: tbltool recompile IN.tbl OUT.tbl [--parse-on-load]\n"
    "Loads IN.tbl and compiles it to OUT.tbl, as opening it in Strindle and saving it would:\n"
    "tokens such as \\red; become game colour codes, the two characters \\n a line feed, carriage\n"
    "returns are dropped, and the hash table is laid out again with N slots. OUT.tbl is replaced\n"
    "only once it is completely written; it may be IN.tbl itself.\n"
    "  --parse-on-load   load as Strindle does with \"Parse On Load\" set (codes become tokens)\n"
    "Exit status: 0 written, 1 unreadable input or failed write, 2 wrong usage.\n";

}  // namespace

int RunRecompileCommand(const std::vector<std::string>& args) {
    CommandLine line;
    if (const int exit = StartCommand(args, {"--parse-on-load"}, 2, Help, line); exit >= 0)
        return exit;
    const bool parseOnLoad = line.Has("--parse-on-load");

    std::vector<std::u16string> keys, values;
    TblHeader header;
    if (!ReportResult(LoadTbl(PathFromArgument(line.Positional[0]), keys, values, header, parseOnLoad)))
        return ExitFailure;
    if (!ReportResult(CompileTbl(PathFromArgument(line.Positional[1]), keys, values, header, parseOnLoad)))
        return ExitFailure;
    std::printf("%s: %zu entries, max tries %u, %u bytes\n", line.Positional[1].c_str(), keys.size(),
                static_cast<unsigned>(header.MaxTries), static_cast<unsigned>(header.FileSize));
    return ExitOk;
}
