#include "FileIo.h"

#include "FileIoPieces.h"
#include "Utf.h"

#include <algorithm>

Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> read;
    if (Result result = ReadWholeFile(Utf8ToUtf16(path), read); !result)
        return result;
    if (read.empty()) {
        Result empty = Result::Failure("the file is empty");
        empty.Step = FileStep::Read;
        return empty;
    }
    bytes = std::move(read);
    return Result::Success();
}

Result WriteWholeFile(const std::string& path, const uint8_t* bytes, size_t size) {
    return WriteFileSafely(Utf8ToUtf16(path), {bytes, size});
}

namespace {

// Reads the whole file into `bytes`, a std::vector or a ByteBuffer, sized once.
template <typename Buffer>
Result ReadWholeFileInto(const std::u16string& path, Buffer& bytes, uint64_t maxBytes) {
    bytes = Buffer();
    FileForReading file;
    if (Result opened = file.Open(path, maxBytes); !opened)
        return opened;
    bytes = Buffer(static_cast<size_t>(file.Size()));
    return file.Read(bytes.data(), bytes.size());
}

}  // namespace

Result ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
    return ReadWholeFileInto(path, bytes, maxBytes);
}

Result ReadWholeFile(const std::u16string& path, ByteBuffer& bytes, uint64_t maxBytes) {
    return ReadWholeFileInto(path, bytes, maxBytes);
}

Result ReadFileInPieces(const std::u16string& path, const FilePieceTaker& take, uint64_t maxBytes) {
    FileForReading file;
    if (Result opened = file.Open(path, maxBytes); !opened)
        return opened;
    std::vector<uint8_t> piece(static_cast<size_t>(std::min<uint64_t>(file.Size(), FilePieceBytes)));
    for (uint64_t done = 0; done < file.Size();) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(file.Size() - done, piece.size()));
        if (Result read = file.Read(piece.data(), want); !read)
            return read;
        done += want;
        if (!take({piece.data(), want}))
            break;
    }
    return Result::Success();
}
