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

TxtIoResult ReadTabbedFile(const std::u16string& path, std::vector<uint8_t>& bytes) {
    FileError error;
    if (!ReadWholeFile(path, bytes, error, MaxTabbedFileBytes)) {
        if (error.Step == FileStep::Open)
            return TxtIoResult::Failure(FileNotOpenedMessage(path));
        return TxtIoResult::Failure("File " + Utf16ToUtf8(path) + " not read: " + DescribeFileError(error));
    }
    return TxtIoResult::Success();
}

TxtIoResult WriteTabbedFile(const std::u16string& path, std::string_view bytes) {
    FileError error;
    const std::span<const uint8_t> content(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (WriteFileSafely(path, content, error))
        return TxtIoResult::Success();
    // A folder that is gone, a target that is read-only or locked: the file could not be opened.
    if (error.Step == FileStep::Create || error.Step == FileStep::Replace)
        return TxtIoResult::Failure(FileNotOpenedMessage(path));
    return TxtIoResult::Failure("File " + Utf16ToUtf8(path) + " not written: " + DescribeFileError(error) +
                                ". The file was left as it was.");
}
