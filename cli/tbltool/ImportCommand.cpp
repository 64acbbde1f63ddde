#include "ToolSupport.h"

#include "TableFiles.h"

#include "TabbedImport.h"
#include "TabbedTextReader.h"
#include "Utf.h"

#include <algorithm>

namespace {

const char ImportHelp[] =
    "Usage: tbltool import IN.txt OUT.tbl [--key-column N] [--value-column N]\n"
    "                      [--merge-into BASE.tbl] [--utf8] [--rescue]\n"
    "Reads the rows of a tabbed text file as Strindle's \"Import Tabbed Txt File\" reads them and\n"
    "compiles them into OUT.tbl. Line 1 is the header, never data; lines split at every TAB into\n"
    "fields numbered from 0; a row is taken when its key field is there and not empty and it has\n"
    "the value field, and every other row is skipped. Without --utf8 nothing is unescaped: \\n\n"
    "and tokens such as \\red; become line feeds and colour codes when the table is compiled.\n"
    "Each byte is one character (ISO 8859-1). OUT.tbl is replaced only once completely written.\n"
    "  --key-column N          the field holding the keys (default 0)\n"
    "  --value-column N        the field holding the values (default 1)\n"
    "  --merge-into BASE.tbl   merge the rows into BASE.tbl by key, as the Overwrite mode does:\n"
    "                          every entry with a row's key takes its value (the last row wins),\n"
    "                          new keys are appended in file order; without it the rows make a\n"
    "                          new table, in file order, duplicates kept (the Append mode)\n"
    "  --utf8                  the file is UTF-8 (a byte-order mark is skipped) with the escapes\n"
    "                          that export --utf8 writes: \\\\ a backslash, \\t a TAB, \\n a line feed,\n"
    "                          \\r a carriage return, \\e an empty key; a backslash before anything\n"
    "                          else stands for itself. Values are stored exactly as the escapes\n"
    "                          give them: no token or \\n is converted, and a Ctrl+Z byte is text\n"
    "  --rescue                take BASE.tbl, if damaged, as far as it can be read, as\n"
    "                          Strindle's rescue does; stderr lists the entries left empty\n"
    "Lines that are skipped are counted on stderr with the reason, as are a header that is not\n"
    "the export's, a UTF-8 byte-order mark read without --utf8 and CR-only line ends.\n"
    "Exit status: 0 written, 1 unreadable file or table, no row read, a column the header lacks,\n"
    "too many entries or failed write, 2 wrong usage.\n";

// Why lines of the file were not read as rows, one text each.
std::vector<std::string> SkippedLines(const TabbedRowCounts& counts, size_t keyColumn, size_t valueColumn) {
    std::vector<std::string> reasons;
    const auto lines = [](size_t n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); };
    if (counts.WithoutKey > 0)
        reasons.push_back(lines(counts.WithoutKey) + " without a key (field " + std::to_string(keyColumn) +
                          " empty or missing)");
    if (counts.WithoutValue > 0)
        reasons.push_back(lines(counts.WithoutValue) + " without the value field " + std::to_string(valueColumn));
    if (counts.AfterCtrlZ > 0)
        reasons.push_back(lines(counts.AfterCtrlZ) + " after a Ctrl+Z byte, which ends the file");
    return reasons;
}

// Says on stderr what the import did not take and what it read in a way the user may not expect.
void ReportImport(const std::string& file, const std::vector<std::u16string>& captions, const TabbedRowCounts& counts,
                  size_t keyColumn, size_t valueColumn) {
    if (counts.CrOnlyLineEnds)
        PrintMessage(file + ": its lines end in CR alone, which is no line end here, so the whole file is "
                          "one line, the header; convert the line ends to CR LF or LF");
    if (counts.ByteOrderMark)
        PrintMessage(file + ": it starts with a UTF-8 byte-order mark but was read one byte per character "
                          "(so \"\xC3\xBC\" arrives as \"\xC3\x83\xC2\xBC\"); give --utf8 to read it as UTF-8");
    if (captions != std::vector<std::u16string>{u"String Index", u"Text"}) {
        std::string header;
        for (const std::u16string& caption : captions)
            header += (header.empty() ? "" : "\t") + Utf16ToUtf8(caption);
        PrintMessage(file + ": line 1 is the header, never data: \"" + header + "\"");
    }
    for (const std::string& reason : SkippedLines(counts, keyColumn, valueColumn))
        PrintMessage(file + ": skipped " + reason);
}

}  // namespace

int RunImportCommand(const std::vector<std::string>& args) {
    bool utf8 = false, rescue = false;
    std::optional<size_t> keyOption, valueOption;
    std::optional<std::string> baseOption;
    CommandOptions options(ImportHelp, 2);
    options.Number("--key-column", keyOption).Number("--value-column", valueOption).Text("--merge-into", baseOption);
    options.Flag("--utf8", utf8).Flag("--rescue", rescue);
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    const size_t keyColumn = keyOption.value_or(0), valueColumn = valueOption.value_or(1);
    const TabbedEncoding encoding = utf8 ? TabbedEncoding::Utf8 : TabbedEncoding::OneBytePerCharacter;
    // The UTF-8 form's escapes already give each value exactly; compiling would turn a value's
    // two characters \n into a line feed and drop its carriage returns.
    const TblValueForm form = utf8 ? TblValueForm::Exact : TblValueForm::Game;
    const std::u16string textPath = PathFromArgument(options.File(0));

    // The import dialog offers only the header's fields as columns.
    std::vector<std::u16string> captions;
    if (!ReportResult(options.File(0), ReadTabbedHeader(textPath, captions, encoding)))
        return ExitFailure;
    if (std::max(keyColumn, valueColumn) >= captions.size()) {
        PrintMessage(options.File(0) + ": the header line has " + std::to_string(captions.size()) +
                   " field(s); there is no column " + std::to_string(std::max(keyColumn, valueColumn)));
        return ExitFailure;
    }

    TblDocument table;
    if (baseOption && !LoadTable(*baseOption, table, false, rescue))
        return ExitFailure;
    const ImportMode mode = baseOption ? ImportMode::Overwrite : ImportMode::Append;
    TabbedRowCounts counts;
    if (!ReportResult(options.File(0),
                      ImportTabbedText(textPath, keyColumn, valueColumn, mode, table, encoding, &counts, form)))
        return ExitFailure;
    ReportImport(options.File(0), captions, counts, keyColumn, valueColumn);
    if (counts.Taken == 0) {
        PrintMessage(options.File(0) + ": no row was read; nothing was written");
        return ExitFailure;
    }
    if (!SaveTable(options.File(1), table, form))
        return ExitFailure;
    PrintMessage(options.File(1) + ": " + std::to_string(table.Count()) + " entries, " + std::to_string(counts.Taken) +
                 " rows read");
    return ExitOk;
}
