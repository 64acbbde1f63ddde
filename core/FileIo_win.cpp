#include "FileIo.h"

#include "FileIoPieces.h"
#include "Utf.h"

#include <windows.h>

#include <atomic>
#include <filesystem>

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

const wchar_t* Wide(const std::u16string& path) { return reinterpret_cast<const wchar_t*>(path.c_str()); }

// The largest piece handed to one ReadFile or WriteFile call.
constexpr DWORD MaxChunk = 1u << 30;

// Room left under MAX_PATH for the ".~12345678.tmp" of a temporary name.
constexpr size_t LongPathFrom = MAX_PATH - 16;

// A path the file functions take at any length: long paths get the \\?\ prefix, which needs a
// full path with backslashes only.
std::u16string ExtendedPath(const std::u16string& path) {
    if (path.size() < LongPathFrom || path.starts_with(u"\\\\?\\"))
        return path;
    const DWORD needed = GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::u16string full(needed, u'\0');
    const DWORD length = GetFullPathNameW(Wide(path), needed, reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    if (full.starts_with(u"\\\\"))  // \\server\share\... becomes \\?\UNC\server\share\...
        return u"\\\\?\\UNC\\" + full.substr(2);
    return u"\\\\?\\" + full;
}

DWORD ReadAll(HANDLE file, uint8_t* out, size_t size) {
    size_t done = 0;
    while (done < size) {
        const size_t left = size - done;
        const DWORD want = left > MaxChunk ? MaxChunk : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file, out + done, want, &got, nullptr))
            return GetLastError();
        if (got == 0)  // the file shrank while being read
            return ERROR_HANDLE_EOF;
        done += got;
    }
    return NO_ERROR;
}

DWORD WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD want = left > MaxChunk ? MaxChunk : static_cast<DWORD>(left);
        DWORD wrote = 0;
        if (!WriteFile(file, bytes.data() + done, want, &wrote, nullptr))
            return GetLastError();
        if (wrote == 0)
            return ERROR_WRITE_FAULT;
        done += wrote;
    }
    return NO_ERROR;
}

// Makes an open file hold exactly `bytes`, durably.
DWORD Rewrite(HANDLE file, std::span<const uint8_t> bytes) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return GetLastError();
    if (DWORD error = WriteAll(file, bytes))
        return error;
    if (!SetEndOfFile(file) || !FlushFileBuffers(file))
        return GetLastError();
    return NO_ERROR;
}

uint64_t SizeOf(HANDLE file, DWORD& error) {
    LARGE_INTEGER size{};
    error = GetFileSizeEx(file, &size) ? NO_ERROR : GetLastError();
    return static_cast<uint64_t>(size.QuadPart);
}

// Rewrites the target itself, which keeps everything Windows holds about it. Its old content
// is held in memory first and written back if the new content cannot be written completely.
Result WriteInPlace(const std::u16string& target, std::span<const uint8_t> bytes) {
    FileHandle file(CreateFileW(Wide(target), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return Result::FileFailure(FileStep::Open, GetLastError());
    DWORD error = NO_ERROR;
    const uint64_t size = SizeOf(file.Get(), error);
    if (error == NO_ERROR && size > SIZE_MAX)
        error = ERROR_FILE_TOO_LARGE;
    if (error != NO_ERROR)
        return Result::FileFailure(FileStep::Read, error);
    std::vector<uint8_t> old(static_cast<size_t>(size));
    if (DWORD readError = ReadAll(file.Get(), old.data(), old.size()))
        return Result::FileFailure(FileStep::Read, readError);
    if (DWORD writeError = Rewrite(file.Get(), bytes)) {
        Rewrite(file.Get(), old);
        return Result::FileFailure(FileStep::Write, writeError);
    }
    if (!file.Close())
        return Result::FileFailure(FileStep::Write, GetLastError());
    return Result::Success();
}

// A name of our own beside the target: the target's name plus a number this process has not
// used yet, then `suffix`.
std::u16string NameBeside(const std::u16string& target, const char16_t* suffix) {
    static std::atomic<unsigned> counter{0};
    const unsigned stamp = GetCurrentProcessId() * 7919u + counter++;
    std::u16string name = target + u".~";
    for (int shift = 28; shift >= 0; shift -= 4)
        name.push_back(u"0123456789abcdef"[(stamp >> shift) & 0xF]);
    return name + suffix;
}

// Creates a new temporary file beside the target; CREATE_NEW refuses a name that exists, and
// then the next number is tried.
HANDLE CreateTemporaryBeside(const std::u16string& target, std::u16string& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = NameBeside(target, u".tmp");
        HANDLE created = CreateFileW(Wide(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created != INVALID_HANDLE_VALUE || (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS))
            return created;
    }
    return INVALID_HANDLE_VALUE;
}

// Puts the finished temporary file in the target's place. ReplaceFileW keeps the target's
// attributes, security and streams; it moves the old file to a backup name first, so that when
// the new one cannot take its place the old one is put back. The attributes are set again
// where ReplaceFileW does not keep them (Wine).
DWORD PutInPlace(const std::u16string& temp, const std::u16string& target, DWORD targetAttributes) {
    if (targetAttributes == INVALID_FILE_ATTRIBUTES)
        return MoveFileExW(Wide(temp), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? NO_ERROR
                   : GetLastError();
    const std::u16string backup = NameBeside(target, u".bak");
    if (ReplaceFileW(Wide(target), Wide(temp), Wide(backup), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        DeleteFileW(Wide(backup));
        if (GetFileAttributesW(Wide(target)) != targetAttributes)
            SetFileAttributesW(Wide(target), targetAttributes);
        return NO_ERROR;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)  // the old file stands under the backup name
        MoveFileExW(Wide(backup), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return error;
}

}  // namespace

FileForReading::~FileForReading() {
    if (native_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(native_));
}

Result FileForReading::Open(const std::u16string& path, uint64_t maxBytes) {
    const HANDLE file = CreateFileW(Wide(ExtendedPath(path)), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Result::FileFailure(FileStep::Open, GetLastError());
    native_ = reinterpret_cast<intptr_t>(file);
    DWORD error = NO_ERROR;
    size_ = SizeOf(file, error);
    if (error != NO_ERROR)
        return Result::FileFailure(FileStep::Read, error);
    if (size_ > maxBytes || size_ > SIZE_MAX)
        return Result::FileFailure(FileStep::TooLarge, ERROR_FILE_TOO_LARGE);
    return Result::Success();
}

Result FileForReading::Read(uint8_t* into, size_t count) {
    if (DWORD error = ReadAll(reinterpret_cast<HANDLE>(native_), into, count))
        return Result::FileFailure(FileStep::Read, error);
    done_ += count;
    return Result::Success();
}

namespace {

// Writes `bytes` whole into a new temporary file beside `target`, flushed to the disk when
// `flush`; a temporary that was made and could not be written is removed again.
Result WriteTemporary(const std::u16string& target, std::span<const uint8_t> bytes, bool flush,
                      std::u16string& temp) {
    FileHandle file(CreateTemporaryBeside(target, temp));
    if (!file.Valid())
        return Result::FileFailure(FileStep::Create, GetLastError());
    DWORD error = WriteAll(file.Get(), bytes);
    if (error == NO_ERROR && flush && !FlushFileBuffers(file.Get()))
        error = GetLastError();
    if (!file.Close() && error == NO_ERROR)
        error = GetLastError();
    if (error == NO_ERROR)
        return Result::Success();
    DeleteFileW(Wide(temp));
    return Result::FileFailure(FileStep::Write, error);
}

Result Replaced(const std::u16string& temp, DWORD error) {
    if (error == NO_ERROR)
        return Result::Success();
    DeleteFileW(Wide(temp));
    return Result::FileFailure(FileStep::Replace, error);
}

}  // namespace

Result WriteFileSafely(const std::u16string& path, std::span<const uint8_t> bytes) {
    const std::u16string target = ExtendedPath(path);
    const DWORD attributes = GetFileAttributesW(Wide(target));
    const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;
    if (targetExists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Result::FileFailure(FileStep::Replace, ERROR_DIRECTORY);
    // Windows refuses to replace a read-only file; say so before writing anything (Wine, run
    // as root, would replace it).
    if (targetExists && (attributes & FILE_ATTRIBUTE_READONLY))
        return Result::FileFailure(FileStep::Replace, ERROR_ACCESS_DENIED);

    std::u16string temp;
    if (Result written = WriteTemporary(target, bytes, true, temp); !written) {
        // A folder we may not create files in, or a name too long to take the temporary suffix.
        // (Wine says "file not found" for a name that is too long.)
        const DWORD error = static_cast<DWORD>(written.Code);
        if (written.Step == FileStep::Create && targetExists &&
            (error == ERROR_ACCESS_DENIED || error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_INVALID_NAME ||
             error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND))
            return WriteInPlace(target, bytes);
        return written;
    }
    return Replaced(temp, PutInPlace(temp, target, attributes));
}

Result OutputBatch::Write(const std::u16string& path, std::span<const uint8_t> bytes) {
    const std::u16string target = ExtendedPath(path);
    std::u16string temp;
    if (Result written = WriteTemporary(target, bytes, false, temp); !written)
        return written;
    const DWORD moved = MoveFileExW(Wide(temp), Wide(target), MOVEFILE_REPLACE_EXISTING) ? NO_ERROR : GetLastError();
    if (Result replaced = Replaced(temp, moved); !replaced)
        return replaced;
    std::lock_guard lock(mutex_);
    written_.push_back(target);
    return Result::Success();
}

Result OutputBatch::Finish() {
    std::lock_guard lock(mutex_);
    // Flushing a whole volume takes administrator rights: each file is flushed instead, after
    // all of them were written.
    Result result = Result::Success();
    for (const std::u16string& path : written_) {
        FileHandle file(CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() || !FlushFileBuffers(file.Get()))
            result = Result::FileFailure(FileStep::Write, GetLastError());
    }
    written_.clear();
    return result;
}

bool MakeFolders(const std::u16string& path) {
    const std::filesystem::path folder(std::wstring(path.begin(), path.end()));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

std::string SystemErrorText(int code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string words = text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text), length) : u"";
    LocalFree(text);
    while (!words.empty() && (words.back() == u'\n' || words.back() == u'\r' || words.back() == u' ' ||
                              words.back() == u'.'))
        words.pop_back();
    return words.empty() ? "error " + std::to_string(code) : Utf16ToUtf8(words);
}
