#include "FileIo.h"

#include <cstdio>
#include <memory>
#include <new>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    // Read in pieces up to the end: a size from seeking is only a hint (a folder opens too,
    // and reports a size it does not have).
    std::vector<uint8_t> data;
    try {
        constexpr size_t Piece = size_t(1) << 16;
        if (std::fseek(file.get(), 0, SEEK_END) == 0) {
            const long hint = std::ftell(file.get());
            if (hint > 0 && hint <= (1L << 30))
                data.reserve(static_cast<size_t>(hint) + Piece);  // room for the last, short piece
        }
        if (std::fseek(file.get(), 0, SEEK_SET) != 0)
            return false;
        size_t got = 0;
        do {
            data.resize(data.size() + Piece);
            got = std::fread(data.data() + data.size() - Piece, 1, Piece, file.get());
            data.resize(data.size() - Piece + got);
        } while (got == Piece);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (std::ferror(file.get()) || data.empty())
        return false;
    bytes = std::move(data);
    return true;
}

bool WriteWholeFile(const std::string& path, const uint8_t* bytes, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        return true;
    std::remove(path.c_str());
    return false;
}
