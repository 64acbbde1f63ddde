#pragma once

#include "FileIo.h"

#include <cstdint>

// A file open for reading through the platform's own calls (FileIo_posix.cpp, FileIo_win.cpp),
// through which FileIo.cpp reads whole files and pieces of them.
class FileForReading {
public:
    FileForReading() = default;
    ~FileForReading();
    FileForReading(const FileForReading&) = delete;
    FileForReading& operator=(const FileForReading&) = delete;

    // Opens the file at `path`, shared as ReadWholeFile says, and gets its size; a folder, or a
    // file larger than `maxBytes`, is refused.
    Result Open(const std::u16string& path, uint64_t maxBytes);
    uint64_t Size() const { return size_; }
    // Reads the next `count` bytes, from where the last read ended.
    Result Read(uint8_t* into, size_t count);

private:
    intptr_t native_ = -1;  // the file descriptor, or the HANDLE
    uint64_t size_ = 0;
    uint64_t done_ = 0;
};
