#include "ToolSupport.h"

#include "FileIo.h"
#include "TblCheck.h"
#include "TblLayout.h"

#include <cstdio>

namespace {

const char InfoHelp[] =
    "Usage: tbltool info FILE.tbl\n"
    "Shows the header fields and counts of a string table and checks its structure: the CRC of\n"
    "the text area, each node's stored hash against its key, max tries against the longest probe,\n"
    "the hash table size against the entry count, and that every offset and string lies inside\n"
    "the file. Differences the game tolerates are listed as notes.\n"
    "Exit status: 0 sound, 1 damaged or unreadable, 2 wrong usage.\n";

void Field(const char* name, const std::string& value) { std::printf("%-16s %s\n", name, value.c_str()); }

void List(const char* title, const std::vector<std::string>& lines) {
    if (lines.empty())
        return;
    std::printf("%s:\n", title);
    for (const std::string& line : lines)
        std::printf("  - %s\n", line.c_str());
}

}  // namespace

int RunInfoCommand(const std::vector<std::string>& args) {
    CommandOptions options(InfoHelp, 1);
    if (const int exit = options.Parse(args); exit >= 0)
        return exit;
    const std::string& name = options.File(0);

    ByteBuffer bytes;
    if (!ReportResult(name, ReadWholeFile(PathFromArgument(name), bytes)))
        return ExitFailure;
    const TblCheckResult r = CheckTbl(bytes.Bytes());
    Field("File", name + " (" + std::to_string(bytes.size()) + " bytes)");
    if (r.HeaderRead) {
        const TblHeader& h = r.Header;
        Field("CRC", Hex(h.Crc) + (h.Crc == r.TextCrc ? " (matches the text area)"
                                                      : " (the text area's is " + Hex(r.TextCrc) + ")"));
        Field("Element count", std::to_string(h.ElementCount));
        Field("Hash table size", std::to_string(h.HashTableSize));
        Field("Version", std::to_string(h.Version));
        Field("Text start", std::to_string(h.TextStart));
        Field("Max tries", std::to_string(h.MaxTries) + " (longest probe " + std::to_string(r.LongestProbe) + ")");
        Field("File size", std::to_string(h.FileSize));
        Field("Entries", std::to_string(h.ElementCount) + " (" + std::to_string(r.UnusedEntries) +
                             " naming an unused node, loaded empty)");
        Field("Unused nodes", std::to_string(r.UnusedNodes));
        Field("Duplicate keys", std::to_string(r.DuplicateKeys));
    }
    List("Notes", r.Notes);
    List("Problems", r.Problems);
    if (r.Damaged()) {
        std::printf("Result: damaged (%zu problem%s)\n", r.Problems.size(), r.Problems.size() == 1 ? "" : "s");
        return ExitFailure;
    }
    std::printf("Result: sound\n");
    return ExitOk;
}
