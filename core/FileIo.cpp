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

Result ReadInPieces(uint64_t size, const FilePieceReader& readPiece, const FilePieceTaker& take) {
    std::vector<uint8_t> piece(static_cast<size_t>(std::min<uint64_t>(size, FilePieceBytes)));
    for (uint64_t done = 0; done < size;) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(size - done, piece.size()));
        if (Result read = readPiece(piece.data(), want, done); !read)
            return read;
        done += want;
        if (!take({piece.data(), want}))
            break;
    }
    return Result::Success();
}
