#include "TableFiles.h"

#include "FileIo.h"
#include "TblBuilder.h"
#include "TblLoader.h"
#include "ToolSupport.h"

#include <cstdio>
#include <span>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

bool LoadTable(const std::string& argument, TableEntries& table, TblHeader& header, bool parseOnLoad) {
    return ReportResult(argument, LoadTbl(PathFromArgument(argument), table.Keys, table.Values, header, parseOnLoad));
}

bool SaveTableExactly(const std::string& argument, const TableEntries& table) {
    TblHeader header;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!BuildTbl(table.Keys, table.Values, header, bytes, error)) {
        PrintError(argument + ": the table cannot be saved: " + error + ".");
        return false;
    }
    if (const Result written = WriteFileSafely(PathFromArgument(argument), bytes); !written) {
        PrintError(argument + ": the table was not saved; the file on disk is unchanged: " + written.Message + ".");
        return false;
    }
    return true;
}

bool WriteOutput(const std::string& argument, std::string_view bytes) {
    if (argument != "-") {
        const std::span<const uint8_t> content(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        const Result written = WriteFileSafely(PathFromArgument(argument), content);
        if (written)
            return true;
        PrintError(argument + ": not written, the file on disk is unchanged: " + written.Message + ".");
        return false;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0)
        return true;
    PrintError("standard output could not be written");
    return false;
}
