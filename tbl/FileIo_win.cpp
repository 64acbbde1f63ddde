#include "FileIo.h"

#include <windows.h>

#include <atomic>

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

bool Fail(FileError& error, FileStep step, DWORD code) {
    error.Step = step;
    error.Code = static_cast<int>(code);
    return false;
}

// The largest piece handed to one ReadFile or WriteFile call.
constexpr DWORD MaxChunk = 1u << 30;

}  // namespace

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes, FileError& error,
                   uint64_t maxBytes) {
    error = {};
    bytes.clear();
    FileHandle file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return Fail(error, FileStep::Open, GetLastError());
    DWORD high = 0;
    const DWORD low = GetFileSize(file.Get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return Fail(error, FileStep::Read, GetLastError());
    const uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
    if (size > maxBytes || size > SIZE_MAX)
        return Fail(error, FileStep::TooLarge, ERROR_FILE_TOO_LARGE);
    bytes.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD want = left > MaxChunk ? MaxChunk : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
            return Fail(error, FileStep::Read, GetLastError());
        if (got == 0)  // the file shrank while being read
            return Fail(error, FileStep::Read, ERROR_HANDLE_EOF);
        done += got;
    }
    return true;
}

bool WriteFileSafely(const std::u16string& path, std::span<const uint8_t> bytes, FileError& error) {
    error = {};
    const DWORD attributes = GetFileAttributesW(Wide(path));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(error, FileStep::Replace, ERROR_DIRECTORY);
    // Windows refuses to replace a read-only file; say so before writing anything (Wine, run
    // as root, would replace it).
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Fail(error, FileStep::Replace, ERROR_ACCESS_DENIED);

    // A name of our own beside the target: the target's name plus a number this process has
    // not used yet; CREATE_NEW refuses a name that exists, and then the next number is tried.
    static std::atomic<unsigned> counter{0};
    std::u16string temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        const unsigned stamp = GetCurrentProcessId() * 7919u + counter++;
        temp = path + u".~";
        for (int shift = 28; shift >= 0; shift -= 4)
            temp.push_back(u"0123456789abcdef"[(stamp >> shift) & 0xF]);
        temp += u".tmp";
        created = CreateFileW(Wide(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    FileHandle file(created);
    if (!file.Valid())
        return Fail(error, FileStep::Create, GetLastError());
    auto failAndRemove = [&](FileStep step, DWORD code) {
        if (file.Valid())
            file.Close();
        DeleteFileW(Wide(temp));
        return Fail(error, step, code);
    };

    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD want = left > MaxChunk ? MaxChunk : static_cast<DWORD>(left);
        DWORD wrote = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr))
            return failAndRemove(FileStep::Write, GetLastError());
        if (wrote == 0)
            return failAndRemove(FileStep::Write, ERROR_WRITE_FAULT);
        done += wrote;
    }
    if (!FlushFileBuffers(file.Get()))
        return failAndRemove(FileStep::Write, GetLastError());
    if (!file.Close())
        return failAndRemove(FileStep::Write, GetLastError());
    if (!MoveFileExW(Wide(temp), Wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failAndRemove(FileStep::Replace, GetLastError());
    return true;
}
