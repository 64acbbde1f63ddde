#include "ToolSupport.h"

#include "TableDiff.h"
#include "TableFiles.h"
#include "TabbedEscapes.h"
#include "Utf.h"

#include <cstdio>

namespace {

const char DiffHelp[] =
    "Usage: tbltool diff OLD.tbl NEW.tbl [--utf8] [--rescue]\n"
    "Lists how NEW.tbl differs from OLD.tbl, entry by entry, one line each, fields split by TAB:\n"
    "  removed  OLD-INDEX      KEY  VALUE\n"
    "  changed  OLD->NEW-INDEX KEY  OLD-VALUE  NEW-VALUE\n"
    "  moved    OLD->NEW-INDEX KEY  VALUE       (same value, another place in the order)\n"
    "  added    NEW-INDEX      KEY  VALUE\n"
    "Entries are matched by key, the k-th entry with a key in OLD.tbl to the k-th with that key\n"
    "in NEW.tbl. An entry that only shifted because others came or went is not listed. Keys\n"
    "and values are written as export writes them, with the escapes of export --utf8 (\\\\, \\t,\n"
    "\\n, \\r, \\e for an empty key), so that each entry stays on its line.\n"
    "  --utf8   write keys and values as UTF-8; without it each character is one byte\n"
    "           (ISO 8859-1), a character above U+00FF is written \\uXXXX and a byte that\n"
    "           is not UTF-8 (a damaged value) \\xFF\n"
    "  --rescue take OLD.tbl and NEW.tbl, if damaged, as far as they can be read, as\n"
    "           Strindle's rescue does; stderr lists the entries left empty\n"
    "Exit status: 0 the same entries, 1 different (or an unreadable table), 2 wrong usage.\n";

// A key or value as the diff shows it, on one line.
void AppendShown(const std::u16string& text, bool utf8, std::string& out) {
    if (utf8) {
        AppendEscaped(Utf16ToUtf8(text), out);
        return;
    }
    for (const char16_t c : text) {
        if (c <= 0xFF) {
            const char byte = static_cast<char>(c);
            AppendEscaped({&byte, 1}, out);
        } else {
            char code[8];
            if (IsKeptByte(c))
                std::snprintf(code, sizeof code, "\\x%02X", KeptByte(c));
            else
                std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            out += code;
        }
    }
}

void AppendKey(const std::u16string& key, bool utf8, std::string& out) {
    if (key.empty())
        out += EmptyKeyEscape;
    else
        AppendShown(key, utf8, out);
}

std::string ChangeLine(const EntryChange& change, const TblDocument& oldTable, const TblDocument& newTable,
                       bool utf8) {
    static constexpr const char* Names[] = {"removed", "added", "changed", "moved"};
    const bool inOld = change.What != EntryChange::Added, inNew = change.What != EntryChange::Removed;
    std::string line = Names[change.What];
    line += '\t';
    if (inOld)
        line += std::to_string(change.OldIndex);
    if (inOld && inNew)
        line += "->";
    if (inNew)
        line += std::to_string(change.NewIndex);
    line += '\t';
    AppendKey(inOld ? oldTable.Key(change.OldIndex) : newTable.Key(change.NewIndex), utf8, line);
    line += '\t';
    AppendShown(inOld ? oldTable.Value(change.OldIndex) : newTable.Value(change.NewIndex), utf8, line);
    if (change.What == EntryChange::Changed) {
        line += '\t';
        AppendShown(newTable.Value(change.NewIndex), utf8, line);
    }
    line += '\n';
    return line;
}

}  // namespace

int RunDiffCommand(const std::vector<std::string>& args) {
    bool utf8 = false, rescue = false;
    CommandOptions options(DiffHelp, 2);
    options.Flag("--utf8", utf8).Flag("--rescue", rescue);
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    TblDocument oldTable, newTable;
    if (!LoadTable(options.File(0), oldTable, false, rescue) || !LoadTable(options.File(1), newTable, false, rescue))
        return ExitFailure;
    const std::vector<EntryChange> changes = DiffTables(oldTable, newTable);
    std::string text;
    for (const EntryChange& change : changes)
        text += ChangeLine(change, oldTable, newTable, utf8);
    if (!WriteOutput("-", text))
        return ExitFailure;
    return changes.empty() ? ExitOk : ExitFailure;
}
