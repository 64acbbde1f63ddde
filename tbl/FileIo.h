#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Whole-file reading and safe whole-file writing. Paths are UTF-16 (passed to the Win32 "W"
// calls as they are; elsewhere turned into UTF-8). Errors carry the system's error number
// (GetLastError on Windows, errno elsewhere).

enum class FileStep {
    None,
    Open,     // the file could not be opened
    Read,     // reading failed or the file ended early
    TooLarge, // the file is larger than the caller accepts
    Create,   // the temporary file beside the target could not be created
    Write,    // writing or flushing the temporary file failed
    Replace,  // the finished temporary file could not take the target's place
};

struct FileError {
    FileStep Step = FileStep::None;
    int Code = 0;  // the system's error number
};

// Reads the whole file at `path` into `bytes`. A file larger than `maxBytes` is refused
// (FileStep::TooLarge) without being read.
bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes, FileError& error,
                   uint64_t maxBytes = UINT32_MAX);

// Writes `bytes` to a temporary file in the target's folder, flushes it to disk and only then
// puts it in the target's place. On failure the temporary file is removed, an existing target
// is left exactly as it was, and `error` says which step failed.
bool WriteFileSafely(const std::u16string& path, std::span<const uint8_t> bytes, FileError& error);

// "could not create a temporary file beside the target (error 13)", for messages.
std::string DescribeFileError(const FileError& error);
