#include "TableFiles.h"

#include "FileIo.h"
#include "ToolSupport.h"

#include <cstdio>
#include <span>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// What a rescue takes of a table: "1143 entries, 3 of them left empty".
std::string RescuedPart(size_t count, size_t unreadable) {
    std::string part = std::to_string(count) + (count == 1 ? " entry" : " entries");
    if (unreadable > 0)
        part += ", " + std::to_string(unreadable) + " of them left empty";
    return part;
}

}  // namespace

bool LoadTable(const std::string& argument, TblDocument& table, bool parseOnLoad, bool rescue) {
    const std::u16string path = PathFromArgument(argument);
    const Result loaded = table.Load(path, parseOnLoad);
    if (loaded)
        return true;
    // A file that cannot be read, or holds no whole header and index, has nothing to rescue.
    std::vector<std::string> unreadable;
    const bool rescuable = loaded.Step == FileStep::None && table.Rescue(path, parseOnLoad, unreadable);
    if (!rescuable || !rescue) {
        ReportResult(argument, rescuable ? loaded.Reworded(loaded.Message + " --rescue would take " +
                                                         RescuedPart(table.Count(), unreadable.size()) + ".")
                                       : loaded);
        table.Clear();
        return false;
    }
    PrintMessage(argument + ": " + loaded.Message);
    PrintMessage(argument + ": --rescue took " + RescuedPart(table.Count(), unreadable.size()) +
                 (unreadable.empty() ? "" : " because they could not be read:"));
    for (const std::string& entry : unreadable)
        PrintMessage(argument + ": " + entry);
    return true;
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
