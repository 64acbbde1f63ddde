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
    "itself. In a new file entry i gets the id N + i.\n"
    "  --lang LANG            the column: enUS (default), zhTW, deDE, esES, frFR, itIT, koKR,\n"
    "                         plPL, esMX, jaJP, ptBR, ruRU or zhCN\n"
    "  --id-base N            the first id; by default taken from IN.tbl's name: 20000 for an\n"
    "                         expansionstring, 10000 for a patchstring table, else 0\n"
    "  --into EXISTING.json   put the column into that file's rows, matched by Key (the 2nd entry\n"
    "                         with a key goes to the 2nd row with it); an entry no row takes is\n"
    "                         appended with the next free id. Every byte but the changed values\n"
    "                         stays as it was; stderr says how many rows matched and were appended\n"
    "  --rescue               take IN.tbl, if damaged, as far as it can be read, as Strindle's\n"
    "                         rescue does; stderr lists the entries left empty\n"
    "OUT.json is replaced only once completely written; it may be EXISTING.json.\n"
    "Exit status: 0 written, 1 unreadable input, text that is not UTF-8 or failed write, 2 wrong usage.\n";

const char FromjsonHelp[] =
    "Usage: tbltool fromjson IN.json OUT.tbl [--lang LANG]\n"
    "Compiles one language column of a Diablo II: Resurrected string file into a table, the rows\n"
    "in file order, each value exactly as the file gives it. A missing byte-order mark is\n"
    "accepted; a row without the column gets an empty value; ids given twice are named on stderr.\n"
    "Broken JSON, a field of the wrong type and a row without id or Key are refused, naming the\n"
    "line, and nothing is written.\n"
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
    D2rPlacement placed;
    if (!WriteD2rStrings(table, base, language.value_or("enUS"), into ? std::optional<std::string_view>(existing) : std::nullopt,
                         bytes, placed, error)) {
        PrintMessage((error.starts_with("entry") ? options.File(0) : *into) + ": " + error);
        return ExitFailure;
    }
    if (!WriteOutput(options.File(1), bytes))
        return ExitFailure;
    if (into)
        PrintMessage(options.File(1) + ": " + std::to_string(table.Count()) + " entries: " + std::to_string(placed.Matched) +
                     " rows matched, " + std::to_string(placed.Appended) + " appended");
    else
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
    std::vector<std::string> repeated;
    if (!ReadD2rStrings(text, language.value_or("enUS"), table, missing, error, &repeated)) {
        PrintMessage(options.File(0) + ": " + error + "; nothing was written");
        return ExitFailure;
    }
    if (!repeated.empty()) {
        std::string ids;
        for (const std::string& id : repeated)
            ids += (ids.empty() ? "" : ", ") + id;
        PrintMessage(options.File(0) + ": warning: ids given twice: " + ids + " (their rows are all taken, in file order)");
    }
    if (!SaveTable(options.File(1), table, TblValueForm::Exact))
        return ExitFailure;
    std::string done = options.File(1) + ": " + std::to_string(table.Count()) + " entries";
    if (missing > 0)
        done += ", " + std::to_string(missing) + " of them empty: their rows have no " + language.value_or("enUS");
    PrintMessage(done);
    return ExitOk;
}
