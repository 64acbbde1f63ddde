#include "ToolSupport.h"

#include "TabbedTextWriter.h"
#include "TblLoader.h"

#include <cstdio>

namespace {

const char Help[] =
    "Usage: tbltool export IN.tbl OUT.txt [--parse-on-load] [--utf8]\n"
    "Loads IN.tbl and writes it as tabbed text for a spreadsheet, byte for byte what Strindle's\n"
    "\"Export To Tabbed Txt\" writes: the header line \"String Index\" TAB \"Text\", then one line\n"
    "per entry in index order, key TAB value, each line ending in CR LF. Line feeds in values are\n"
    "written as the two characters \\n; nothing else is escaped or converted. Each character is one\n"
    "byte (ISO 8859-1): a table holding a character above U+00FF is refused, naming the first\n"
    "such entry, and nothing is written. OUT.txt is replaced only once it is completely written.\n"
    "  --parse-on-load   load as Strindle does with \"Parse On Load\" set (codes become tokens\n"
    "                    such as \\red;)\n"
    "  --utf8            write UTF-8 without a byte-order mark, for tables in any language\n"
    "Exit status: 0 written, 1 unreadable table, unwritable character or failed write, 2 wrong usage.\n";

}  // namespace

int RunExportCommand(const std::vector<std::string>& args) {
    CommandLine line;
    if (const int exit = StartCommand(args, {"--parse-on-load", "--utf8"}, 2, Help, line); exit >= 0)
        return exit;
    const TabbedEncoding encoding = line.Has("--utf8") ? TabbedEncoding::Utf8 : TabbedEncoding::OneBytePerCharacter;

    std::vector<std::u16string> keys, values;
    TblHeader header;
    if (!ReportResult(LoadTbl(PathFromArgument(line.Positional[0]), keys, values, header, line.Has("--parse-on-load"))))
        return ExitFailure;
    if (const Result written = WriteTabbedText(PathFromArgument(line.Positional[1]), keys, values, encoding);
        !written) {
        PrintError(std::string(TxtIoErrorCaption) + ": " + written.Message);
        return ExitFailure;
    }
    std::printf("%s: %zu entries\n", line.Positional[1].c_str(), keys.size());
    return ExitOk;
}
