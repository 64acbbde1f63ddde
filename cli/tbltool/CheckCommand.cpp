#include "ToolSupport.h"

#include "D2rStrings.h"
#include "FileIo.h"
#include "TabbedEscapes.h"
#include "TableFiles.h"
#include "TranslationCheck.h"
#include "Utf.h"

#include <cstdio>

namespace {

const char CheckHelp[] =
    "Usage: tbltool check FILE --against REFERENCE [--lang LANG] [--against-lang LANG] [--rescue]\n"
    "Checks a translation against the table it was translated from: that each entry kept the\n"
    "format placeholders, colour codes and line breaks of its reference entry. FILE and\n"
    "REFERENCE are each a .tbl or a Diablo II: Resurrected string file (.json). Entries are\n"
    "matched by key, the k-th entry with a key in FILE to the k-th with that key in REFERENCE.\n"
    "One line per finding on standard output, fields split by TAB:\n"
    "  INDEX  KEY  KIND  DETAIL\n"
    "INDEX is the entry's index in FILE, or - for an entry only REFERENCE has; KEY is written\n"
    "as UTF-8 with the escapes of export --utf8 (\\\\, \\t, \\n, \\r, \\e for an empty key). KIND:\n"
    "  missing       the key is in REFERENCE only\n"
    "  extra         the key is in FILE only\n"
    "  placeholders  the placeholders take other arguments\n"
    "  colours       other colour codes (each shown as its token, such as \\red;)\n"
    "  lines         another number of line feeds\n"
    "The entries of FILE come first, in order, then the missing ones in REFERENCE's order.\n"
    "Placeholders: %% is a percent sign; %d, %+d, %2d and the like (d i u x s c) are printf's,\n"
    "filled in order; %0, %1, %+0 name an argument by its number, %0 the first. Two values take\n"
    "the same arguments when both are printf's with the same placeholders in the same order; or\n"
    "one names exactly the arguments 0 to n-1 (in any order, any of them more than once) and\n"
    "the other has n printf placeholders; or both name the same arguments. A value mixing both\n"
    "kinds passes only against the same placeholders in the same order.\n"
    "  --lang LANG          the language column of FILE when it is a .json: enUS (default),\n"
    "                       zhTW, deDE, esES, frFR, itIT, koKR, plPL, esMX, jaJP, ptBR, ruRU\n"
    "                       or zhCN\n"
    "  --against-lang LANG  the language column of REFERENCE when it is a .json (enUS default)\n"
    "  --rescue             take a damaged .tbl as far as it can be read, as Strindle's rescue\n"
    "                       does; stderr lists the entries left empty\n"
    "Exit status: 0 no finding, 1 findings, 2 wrong usage or an unreadable file.\n";

// 1 says that the check found something, so an error, which stops the check, gives 2.
constexpr int ExitError = ExitUsage;

bool IsJsonName(const std::string& argument) {
    const std::string_view suffix = ".json";
    if (argument.size() < suffix.size())
        return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        const char c = argument[argument.size() - suffix.size() + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != suffix[i])
            return false;
    }
    return true;
}

// A usage problem: the message, then the help on stderr.
int WrongUsage(const std::string& problem) {
    PrintMessage(problem);
    std::fputs(CheckHelp, stderr);
    return ExitUsage;
}

// Checks a --lang or --against-lang: a language column, and a .json file for it to pick from.
std::string LanguageProblem(const char* option, const std::optional<std::string>& language, const std::string& file) {
    if (!language)
        return {};
    if (!IsD2rLanguage(*language))
        return std::string(option) + ": " + *language + " is not one of the 13 language fields";
    if (!IsJsonName(file))
        return std::string(option) + ": " + file + " is not a .json string file, which alone has languages";
    return {};
}

// Loads a .tbl, or the `language` column of a .json string file, with values as the file holds them.
bool LoadStrings(const std::string& argument, const std::string& language, bool rescue, TblDocument& table) {
    if (!IsJsonName(argument))
        return LoadTable(argument, table, false, rescue);
    std::vector<uint8_t> bytes;
    if (!ReportResult(argument, ReadWholeFile(PathFromArgument(argument), bytes)))
        return false;
    size_t missing = 0;
    std::string error;
    if (!ReadD2rStrings(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), language, table,
                        missing, error)) {
        PrintMessage(argument + ": " + error);
        return false;
    }
    if (missing > 0)
        PrintMessage(argument + ": " + std::to_string(missing) + " rows have no " + language + "; taken as empty");
    return true;
}

std::string FindingLine(const TranslationFinding& finding, const TblDocument& table, const TblDocument& reference) {
    const bool inTable = finding.Index != Unmatched;
    std::string line = inTable ? std::to_string(finding.Index) : "-";
    line += '\t';
    const std::u16string key = inTable ? table.Key(finding.Index) : reference.Key(finding.ReferenceIndex);
    if (key.empty())
        line += EmptyKeyEscape;
    else
        AppendEscaped(Utf16ToUtf8(key), line);
    line += '\t';
    line += FindingKindName(finding.What);
    line += '\t';
    line += finding.Detail;
    line += '\n';
    return line;
}

}  // namespace

int RunCheckCommand(const std::vector<std::string>& args) {
    std::optional<std::string> against, language, againstLanguage;
    bool rescue = false;
    CommandOptions options(CheckHelp, 1);
    options.Text("--against", against).Text("--lang", language).Text("--against-lang", againstLanguage);
    options.Flag("--rescue", rescue);
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    if (!against)
        return WrongUsage("--against REFERENCE is required");
    const std::string& file = options.File(0);
    for (const std::string& problem : {LanguageProblem("--lang", language, file),
                                       LanguageProblem("--against-lang", againstLanguage, *against)})
        if (!problem.empty())
            return WrongUsage(problem);
    TblDocument table, referenceTable;
    if (!LoadStrings(file, language.value_or("enUS"), rescue, table) ||
        !LoadStrings(*against, againstLanguage.value_or("enUS"), rescue, referenceTable))
        return ExitError;
    const std::vector<TranslationFinding> findings = CheckTranslation(table, referenceTable);
    std::string text;
    for (const TranslationFinding& finding : findings)
        text += FindingLine(finding, table, referenceTable);
    if (!WriteOutput("-", text))
        return ExitError;
    return findings.empty() ? ExitOk : ExitFailure;
}
