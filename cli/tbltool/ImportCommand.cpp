#include "ToolSupport.h"

#include "TabbedImport.h"
#include "TabbedTextReader.h"
#include "TblCompiler.h"
#include "TblLoader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

const char Help[] =
    "Usage: tbltool import IN.txt OUT.tbl [--key-column N] [--value-column N]\n"
    "                      [--merge-into BASE.tbl] [--utf8]\n"
    "Reads the rows of a tabbed text file as Strindle's \"Import Tabbed Txt File\" reads them and\n"
    "compiles them into OUT.tbl. Line 1 is the header, never data; lines split at every TAB into\n"
    "fields numbered from 0; a row is taken when its key field is there and not empty and it has\n"
    "the value field, and every other row is skipped. Nothing is unescaped: the two characters \\n\n"
    "become a line feed, and tokens such as \\red; their colour codes, when the table is compiled.\n"
    "Each byte is one character (ISO 8859-1). OUT.tbl is replaced only once completely written.\n"
    "  --key-column N          the field holding the keys (default 0)\n"
    "  --value-column N        the field holding the values (default 1)\n"
    "  --merge-into BASE.tbl   merge the rows into BASE.tbl by key, as the Overwrite mode does:\n"
    "                          every entry with a row's key takes its value (the last row wins),\n"
    "                          new keys are appended in file order; without it the rows make a\n"
    "                          new table, in file order, duplicates kept (the Append mode)\n"
    "  --utf8                  the file is UTF-8 (a byte-order mark is skipped)\n"
    "Exit status: 0 written, 1 unreadable file or table, a column the header lacks, too many\n"
    "entries or failed write, 2 wrong usage.\n";

int UsageError(const std::string& text) {
    PrintError(text);
    std::fputs(Help, stderr);
    return ExitUsage;
}

bool ParseColumn(const std::optional<std::string>& text, size_t& column) {
    if (!text)
        return true;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, column);
    return error == std::errc() && stop == end;
}

}  // namespace

int RunImportCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::optional<std::string> keyOption, valueOption, baseOption;
    std::string error;
    if (!TakeOptionValue(rest, "--key-column", keyOption, error) ||
        !TakeOptionValue(rest, "--value-column", valueOption, error) ||
        !TakeOptionValue(rest, "--merge-into", baseOption, error))
        return UsageError(error);
    CommandLine line;
    if (const int exit = StartCommand(rest, {"--utf8"}, 2, Help, line); exit >= 0)
        return exit;
    size_t keyColumn = 0, valueColumn = 1;
    if (!ParseColumn(keyOption, keyColumn) || !ParseColumn(valueOption, valueColumn))
        return UsageError("a column is a field number from 0");
    const TabbedEncoding encoding = line.Has("--utf8") ? TabbedEncoding::Utf8 : TabbedEncoding::OneBytePerCharacter;
    const std::u16string textPath = PathFromArgument(line.Positional[0]);

    // The import dialog offers only the header's fields as columns.
    std::vector<std::u16string> captions;
    if (const Result read = ReadTabbedHeader(textPath, captions, encoding); !read) {
        PrintError(std::string(TxtIoErrorCaption) + ": " + read.Message);
        return ExitFailure;
    }
    if (std::max(keyColumn, valueColumn) >= captions.size()) {
        PrintError(line.Positional[0] + ": the header line has " + std::to_string(captions.size()) +
                   " field(s); there is no column " + std::to_string(std::max(keyColumn, valueColumn)));
        return ExitFailure;
    }

    std::vector<std::u16string> keys, values;
    TblHeader header;
    if (baseOption && !ReportResult(LoadTbl(PathFromArgument(*baseOption), keys, values, header, false)))
        return ExitFailure;
    const ImportMode mode = baseOption ? ImportMode::Overwrite : ImportMode::Append;
    if (const Result imported = ImportTabbedText(textPath, keyColumn, valueColumn, mode, keys, values, encoding);
        !imported) {
        PrintError(std::string(TxtIoErrorCaption) + ": " + imported.Message);
        return ExitFailure;
    }
    if (!ReportResult(CompileTbl(PathFromArgument(line.Positional[1]), keys, values, header, false)))
        return ExitFailure;
    std::printf("%s: %zu entries\n", line.Positional[1].c_str(), keys.size());
    return ExitOk;
}
