#pragma once

#include "ByteBuffer.h"
#include "Result.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

// Whole-file reading and safe whole-file writing, the one file layer of the core. Paths are
// UTF-16 (passed to the Win32 "W" calls, long ones with the \\?\ prefix; elsewhere turned into
// UTF-8). Failures are Result::FileFailure: the step that failed and the system's error number.

// Reads the whole file at `path` into `bytes`. A file larger than `maxBytes` is refused
// (FileStep::TooLarge) without being read. Other programs may keep the file open for reading,
// writing or deleting while it is read (a spreadsheet that still has it open).
Result ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes = UINT32_MAX);
// The same into a buffer that is not zero-filled first.
Result ReadWholeFile(const std::u16string& path, ByteBuffer& bytes, uint64_t maxBytes = UINT32_MAX);

// Reads the file at `path` as ReadWholeFile does, but hands its bytes to `take` piece by piece
// in order, FilePieceBytes at a time (less for the last), holding no more than one piece: a
// reader that has what it needs returns false, and the rest of the file is not read.
inline constexpr size_t FilePieceBytes = 64 * 1024;
using FilePieceTaker = std::function<bool(std::span<const uint8_t> piece)>;
Result ReadFileInPieces(const std::u16string& path, const FilePieceTaker& take, uint64_t maxBytes = UINT32_MAX);

// Puts `bytes` in the file at `path` so that the file holds either its old or its new content
// whatever fails, and keeps what the user had: an existing file keeps its attributes, owner,
// permissions (and on Windows its security and alternate streams). Normally the bytes go to a
// temporary file beside the target, are flushed, and the temporary file then takes the
// target's place. Where no temporary file can be made (a writable file in a read-only folder)
// or it could not get the target's owner, the target is rewritten in place and, should that
// fail, its old content is written back. A read-only target is refused.
Result WriteFileSafely(const std::u16string& path, std::span<const uint8_t> bytes);

// The files of a batch whose outputs can be made again (converted images, unpacked frames).
// Each file is written whole under a temporary name beside it and then takes its name, so a
// file of that name always holds a whole output, and a write that fails leaves no half file;
// but nothing is flushed to disk file by file, which made large batches slow. Finish makes
// every file written so far durable at once. Write may be called from several threads.
class OutputBatch {
public:
    Result Write(const std::u16string& path, std::span<const uint8_t> bytes);
    // Linux: one sync of each file system written to; Windows: each file's buffers flushed.
    Result Finish();

private:
    std::mutex mutex_;
    std::vector<std::u16string> written_;  // since the last Finish
};

// Makes the folder at `path` and any missing folders above it; true when it is there afterwards.
bool MakeFolders(const std::u16string& path);

// The same for UTF-8 paths, relative to the current directory unless absolute, as the
// command-line tools take them. The read refuses an empty file and leaves
// `bytes` alone on failure.
Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
Result WriteWholeFile(const std::string& path, const uint8_t* bytes, size_t size);
