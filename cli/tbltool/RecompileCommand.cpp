#include "ToolSupport.h"

#include "TableFiles.h"

#include <string>

namespace {

const char RecompileHelp[] =
    "Usage: tbltool recompile IN.tbl OUT.tbl [--parse-on-load] [--rescue]\n"
    "Loads IN.tbl and compiles it to OUT.tbl, as opening it in Strindle and saving it would:\n"
    "tokens such as \\red; become game colour codes, the two characters \\n a line feed, carriage\n"
    "returns are dropped, and the hash table is laid out again with N slots. OUT.tbl is replaced\n"
    "only once it is completely written; it may be IN.tbl itself.\n"
    "  --parse-on-load   load as Strindle does with \"Parse On Load\" set (codes become tokens)\n"
    "  --rescue          take IN.tbl, if damaged, as far as it can be read, as Strindle's\n"
    "                    rescue does; stderr lists the entries left empty\n"
    "Exit status: 0 written, 1 unreadable input or failed write, 2 wrong usage.\n";

}  // namespace

int RunRecompileCommand(const std::vector<std::string>& args) {
    bool parseOnLoad = false, rescue = false;
    CommandOptions options(RecompileHelp, 2);
    options.Flag("--parse-on-load", parseOnLoad).Flag("--rescue", rescue);
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    TblDocument table;
    if (!LoadTable(options.File(0), table, parseOnLoad, rescue))
        return ExitFailure;
    TblHeader written;
    if (!SaveTable(options.File(1), table, TblValueForm::Game, &written))
        return ExitFailure;
    PrintMessage(options.File(1) + ": " + std::to_string(table.Count()) + " entries, max tries " +
                 std::to_string(written.MaxTries) + ", " + std::to_string(written.FileSize) + " bytes");
    return ExitOk;
}
