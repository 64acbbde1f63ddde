#include "ToolSupport.h"

#include "TableFiles.h"

#include "MergeEntries.h"

#include <string>

namespace {

const char MergeHelp[] =
    "Usage: tbltool merge BASE.tbl OTHER.tbl OUT.tbl [--parse-on-load] [--rescue]\n"
    "Merges OTHER.tbl into BASE.tbl by key, as Strindle's \"Import Tbl File\" does, and compiles\n"
    "the result to OUT.tbl. Every entry of BASE.tbl whose key occurs in OTHER.tbl takes its value\n"
    "(the last occurrence wins; keys are compared exactly, case included); keys that BASE.tbl\n"
    "lacks are appended once each, in OTHER.tbl's order. No entry moves or goes. A merge that\n"
    "would make more than 65535 entries is refused. OUT.tbl is replaced only once it is\n"
    "completely written; it may be BASE.tbl itself.\n"
    "  --parse-on-load   load and compile as Strindle does with \"Parse On Load\" set\n"
    "  --rescue          take BASE.tbl and OTHER.tbl, if damaged, as far as they can be read,\n"
    "                    as Strindle's rescue does; stderr lists the entries left empty\n"
    "Exit status: 0 written, 1 unreadable table, too many entries or failed write, 2 wrong usage.\n";

}  // namespace

int RunMergeCommand(const std::vector<std::string>& args) {
    bool parseOnLoad = false, rescue = false;
    CommandOptions options(MergeHelp, 3);
    options.Flag("--parse-on-load", parseOnLoad).Flag("--rescue", rescue);
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    TblDocument base, other;
    if (!LoadTable(options.File(0), base, parseOnLoad, rescue) ||
        !LoadTable(options.File(1), other, parseOnLoad, rescue))
        return ExitFailure;
    const size_t baseCount = base.Count();
    if (const Result merged = MergeEntries(other.Entries(), base); !merged) {
        PrintMessage(options.File(2) + ": " + merged.Message);
        return ExitFailure;
    }
    if (!SaveTable(options.File(2), base, TblValueForm::Game))
        return ExitFailure;
    PrintMessage(options.File(2) + ": " + std::to_string(base.Count()) + " entries, " +
                 std::to_string(base.Count() - baseCount) + " of them new");
    return ExitOk;
}
