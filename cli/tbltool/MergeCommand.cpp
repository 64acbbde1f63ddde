#include "ToolSupport.h"

#include "MergeEntries.h"
#include "TblCompiler.h"
#include "TblLoader.h"

#include <cstdio>

namespace {

const char Help[] =
    "Usage: tbltool merge BASE.tbl OTHER.tbl OUT.tbl [--parse-on-load]\n"
    "Merges OTHER.tbl into BASE.tbl by key, as Strindle's \"Import Tbl File\" does, and compiles\n"
    "the result to OUT.tbl. Every entry of BASE.tbl whose key occurs in OTHER.tbl takes its value\n"
    "(the last occurrence wins; keys are compared exactly, case included); keys that BASE.tbl\n"
    "lacks are appended once each, in OTHER.tbl's order. No entry moves or goes. A merge that\n"
    "would make more than 65535 entries is refused. OUT.tbl is replaced only once it is\n"
    "completely written; it may be BASE.tbl itself.\n"
    "  --parse-on-load   load and compile as Strindle does with \"Parse On Load\" set\n"
    "Exit status: 0 written, 1 unreadable table, too many entries or failed write, 2 wrong usage.\n";

}  // namespace

int RunMergeCommand(const std::vector<std::string>& args) {
    CommandLine line;
    if (const int exit = StartCommand(args, {"--parse-on-load"}, 3, Help, line); exit >= 0)
        return exit;
    const bool parseOnLoad = line.Has("--parse-on-load");

    std::vector<std::u16string> keys, values, otherKeys, otherValues;
    TblHeader header;
    if (!ReportResult(LoadTbl(PathFromArgument(line.Positional[0]), keys, values, header, parseOnLoad)) ||
        !ReportResult(LoadTbl(PathFromArgument(line.Positional[1]), otherKeys, otherValues, header, parseOnLoad)))
        return ExitFailure;
    const size_t baseCount = keys.size();
    if (const Result merged = MergeEntries(otherKeys, otherValues, keys, values); !merged) {
        PrintError(merged.Message);
        return ExitFailure;
    }
    if (!ReportResult(CompileTbl(PathFromArgument(line.Positional[2]), keys, values, header, parseOnLoad)))
        return ExitFailure;
    std::printf("%s: %zu entries, %zu of them new\n", line.Positional[2].c_str(), keys.size(),
                keys.size() - baseCount);
    return ExitOk;
}
