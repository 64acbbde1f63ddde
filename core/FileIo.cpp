#include "FileIo.h"

Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> read;
    if (Result result = ReadWholeFile(PathFromNative(path), read); !result)
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
    return WriteFileSafely(PathFromNative(path), {bytes, size});
}
