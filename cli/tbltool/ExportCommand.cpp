#include "ToolSupport.h"

#include "TableFiles.h"

#include "TabbedTextWriter.h"

namespace {

const char ExportHelp[] =
    "Usage: tbltool export IN.tbl OUT.txt [--parse-on-load] [--utf8] [--rescue]\n"
    "Loads IN.tbl and writes it as tabbed text for a spreadsheet, byte for byte what Strindle's\n"
    "\"Export To Tabbed Txt\" writes: the header line \"String Index\" TAB \"Text\", then one line\n"
    "per entry in index order, key TAB value, each line ending in CR LF. Line feeds in values are\n"
    "written as the two characters \\n; nothing else is escaped or converted. Each character is one\n"
    "byte (ISO 8859-1): a table holding a character above U+00FF is refused, naming the first\n"
    "such entry, and nothing is written. OUT.txt is replaced only once it is completely written;\n"
    "OUT.txt \"-\" writes to standard output, with lines ending in LF alone, as git and other\n"
    "programs reading a pipe expect (import reads either).\n"
    "  --parse-on-load   load as Strindle does with \"Parse On Load\" set (codes become tokens\n"
    "                    such as \\red;)\n"
    "  --utf8            write UTF-8 without a byte-order mark, for tables in any language, with\n"
    "                    escapes that keep every entry exactly as it is (import --utf8 undoes\n"
    "                    them): \\\\ a backslash, \\t a TAB, \\n a line feed, \\r a carriage return,\n"
    "                    \\e an empty key. So a value holding the two characters \\n is written\n"
    "                    \\\\n, and the token \\red; is written \\\\red;.\n"
    "  --rescue          take IN.tbl, if damaged, as far as it can be read, as Strindle's\n"
    "                    rescue does; stderr lists the entries left empty\n"
    "Exit status: 0 written, 1 unreadable table, unwritable character or failed write, 2 wrong usage.\n";

}  // namespace

int RunExportCommand(const std::vector<std::string>& args) {
    bool parseOnLoad = false, utf8 = false, rescue = false;
    CommandOptions options(ExportHelp, 2);
    options.Flag("--parse-on-load", parseOnLoad).Flag("--utf8", utf8).Flag("--rescue", rescue);
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    const TabbedEncoding encoding = utf8 ? TabbedEncoding::Utf8 : TabbedEncoding::OneBytePerCharacter;

    TblDocument table;
    if (!LoadTable(options.File(0), table, parseOnLoad, rescue))
        return ExitFailure;
    std::string bytes;
    const TabbedLineEnds lineEnds = options.File(1) == "-" ? TabbedLineEnds::Lf : TabbedLineEnds::CrLf;
    if (const Result encoded = EncodeTabbedText(table, encoding, bytes, lineEnds); !encoded) {
        PrintMessage(options.File(0) + ": " + encoded.Message);
        return ExitFailure;
    }
    if (!WriteOutput(options.File(1), bytes))
        return ExitFailure;
    if (options.File(1) != "-")
        PrintMessage(options.File(1) + ": " + std::to_string(table.Count()) + " entries");
    return ExitOk;
}
