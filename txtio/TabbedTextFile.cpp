#include "TabbedTextFile.h"

#include "FileIo.h"
#include "Utf.h"

#include <span>

namespace {

// A tabbed file of a full table with long values stays far below this; a larger file is not
// a table and is refused before it is read.
constexpr uint64_t MaxTabbedFileBytes = 256u << 20;

}  // namespace

std::string FileNotOpenedMessage(const std::u16string& path) {
    return "File " + Utf16ToUtf8(path) + " not opened";
}

Result ReadTabbedFileInPieces(const std::u16string& path, const FilePieceTaker& take) {
    const Result read = ReadFileInPieces(path, take, MaxTabbedFileBytes);
    if (read)
        return read;
    if (read.Step == FileStep::Open)
        return read.Reworded(FileNotOpenedMessage(path));
    return read.Reworded("File " + Utf16ToUtf8(path) + " not read: " + read.Message);
}

Result WriteTabbedFile(const std::u16string& path, std::string_view bytes) {
    const std::span<const uint8_t> content(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const Result written = WriteFileSafely(path, content);
    if (written)
        return written;
    // A folder that is gone, a target that is read-only or locked: the file could not be opened.
    if (written.Step == FileStep::Create || written.Step == FileStep::Replace)
        return written.Reworded(FileNotOpenedMessage(path));
    return written.Reworded("File " + Utf16ToUtf8(path) + " not written: " + written.Message +
                           ". The file was left as it was.");
}
