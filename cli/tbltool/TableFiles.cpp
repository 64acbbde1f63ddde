#include "TableFiles.h"

#include "FileIo.h"
#include "ToolSupport.h"

#include <cstdio>
#include <span>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

bool LoadTable(const std::string& argument, TblDocument& table, bool parseOnLoad) {
    return ReportResult(argument, table.Load(PathFromArgument(argument), parseOnLoad));
}

bool SaveTable(const std::string& argument, const TblDocument& table, TblValueForm form, TblHeader* written) {
    TblBuilt built;
    std::string error;
    if (!table.Build(form, built, error)) {
        PrintMessage(argument + ": the table cannot be saved: " + error + ".");
        return false;
    }
    if (const Result saved = WriteFileSafely(PathFromArgument(argument), built.Bytes.Bytes()); !saved) {
        PrintMessage(argument + ": the table was not saved; the file on disk is unchanged: " + saved.Message + ".");
        return false;
    }
    if (written)
        *written = built.Header;
    return true;
}

bool WriteOutput(const std::string& argument, std::string_view bytes) {
    if (argument != "-") {
        const std::span<const uint8_t> content(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        const Result written = WriteFileSafely(PathFromArgument(argument), content);
        if (written)
            return true;
        PrintMessage(argument + ": not written, the file on disk is unchanged: " + written.Message + ".");
        return false;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0)
        return true;
    PrintMessage("standard output could not be written");
    return false;
}
