#include "ToolSupport.h"

#include "D2rStrings.h"
#include "FileIo.h"
#include "TableFiles.h"

#include <cstdio>
#include <filesystem>

namespace {

const char TojsonHelp[] =
    "Usage: tbltool tojson IN.tbl OUT.json [--lang LANG] [--id-base N] [--into EXISTING.json]\n"
    "                      [--rescue]\n"
    "Writes a table as a Diablo II: Resurrected string file: a JSON array of rows {\"id\", \"Key\",\n"
    "LANG}, UTF-8 with a byte-order mark, line breaks as \\n, the colour prefix as the character\n"
    "itself. Entry i gets the id N + i.\n"
    "  --lang LANG            the column: enUS (default), zhTW, deDE, esES, frFR, itIT, koKR,\n"
    "                         plPL, esMX, jaJP, ptBR, ruRU or zhCN\n"
    "  --id-base N            the first id; by default taken from IN.tbl's name: 20000 for an\n"
    "                         expansionstring, 10000 for a patchstring table, else 0\n"
    "  --into EXISTING.json   add or replace the column in that file's rows, matched by id and\n"
    "                         Key; its other rows and fields stay, unmatched entries are appended\n"
    "  --rescue               take IN.tbl, if damaged, as far as it can be read, as Strindle's\n"
    "                         rescue does; stderr lists the entries left empty\n"
    "OUT.json is replaced only once completely written; it may be EXISTING.json.\n"
    "Exit status: 0 written, 1 unreadable input, text that is not UTF-8 or failed write, 2 wrong usage.\n";

const char FromjsonHelp[] =
    "Usage: tbltool fromjson IN.json OUT.tbl [--lang LANG]\n"
    "Compiles one language column of a Diablo II: Resurrected string file into a table, the rows\n"
    "in id order, repeated keys kept in order, each value exactly as the file gives it. A missing\n"
    "byte-order mark is accepted; a row without the column gets an empty value. Broken JSON, a\n"
    "field of the wrong type, a row without id or Key and an id given twice are refused, naming\n"
    "the row, and nothing is written.\n"
    "  --lang LANG   the column: enUS (default) or another of the 13 language fields\n"
    "Exit status: 0 written, 1 unreadable or refused input, too many entries or failed write,\n"
    "2 wrong usage.\n";

bool ReadInput(const std::string& argument, std::string& text) {
    std::vector<uint8_t> bytes;
    if (!ReportResult(argument, ReadWholeFile(PathFromArgument(argument), bytes)))
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// Parses the options of a JSON command, checking --lang; -1 when the command should go on.
int ParseWithLanguage(CommandOptions& options, const std::vector<std::string>& args,
                      const std::optional<std::string>& language, const char* help) {
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    if (language && !IsD2rLanguage(*language)) {
        PrintMessage("--lang: " + *language + " is not one of the 13 language fields");
        std::fputs(help, stderr);
        return ExitUsage;
    }
    return -1;
}

}  // namespace

int RunTojsonCommand(const std::vector<std::string>& args) {
    std::optional<std::string> language, into;
    std::optional<size_t> idBase;
    bool rescue = false;
    CommandOptions options(TojsonHelp, 2);
    options.Text("--lang", language).Number("--id-base", idBase).Text("--into", into).Flag("--rescue", rescue);
    if (const int exit = ParseWithLanguage(options, args, language, TojsonHelp); exit >= 0)
        return exit;
    TblDocument table;
    if (!LoadTable(options.File(0), table, false, rescue))
        return ExitFailure;
    std::string existing;
    if (into && !ReadInput(*into, existing))
        return ExitFailure;
    const int64_t base = idBase ? static_cast<int64_t>(*idBase)
                                : IdBaseOfTableName(std::filesystem::path(PathFromArgument(options.File(0))).filename().string());
    std::string bytes, error;
    if (!WriteD2rStrings(table, base, language.value_or("enUS"), into ? std::optional<std::string_view>(existing) : std::nullopt,
                         bytes, error)) {
        PrintMessage((error.starts_with("entry") ? options.File(0) : *into) + ": " + error);
        return ExitFailure;
    }
    if (!WriteOutput(options.File(1), bytes))
        return ExitFailure;
    PrintMessage(options.File(1) + ": " + std::to_string(table.Count()) + " entries, ids from " + std::to_string(base));
    return ExitOk;
}

int RunFromjsonCommand(const std::vector<std::string>& args) {
    std::optional<std::string> language;
    CommandOptions options(FromjsonHelp, 2);
    options.Text("--lang", language);
    if (const int exit = ParseWithLanguage(options, args, language, FromjsonHelp); exit >= 0)
        return exit;
    std::string text, error;
    if (!ReadInput(options.File(0), text))
        return ExitFailure;
    TblDocument table;
    size_t missing = 0;
    if (!ReadD2rStrings(text, language.value_or("enUS"), table, missing, error)) {
        PrintMessage(options.File(0) + ": " + error + "; nothing was written");
        return ExitFailure;
    }
    if (!SaveTable(options.File(1), table, TblValueForm::Exact))
        return ExitFailure;
    std::string done = options.File(1) + ": " + std::to_string(table.Count()) + " entries";
    if (missing > 0)
        done += ", " + std::to_string(missing) + " of them empty: their rows have no " + language.value_or("enUS");
    PrintMessage(done);
    return ExitOk;
}
