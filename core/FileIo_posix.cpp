#include "FileIo.h"

#include "FileIoPieces.h"
#include "Utf.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a late write error can show here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Reads `size` bytes of an open file, from byte `from` on; 0 or the error number.
int ReadAll(int fd, uint8_t* out, size_t size, uint64_t from = 0) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = pread(fd, out + done, size - done, static_cast<off_t>(from + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)  // the file shrank while being read
            return EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Writes all of `bytes` from the start of an open file; 0 or the error number.
int WriteAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Makes the file hold exactly `bytes`, durably; 0 or the error number.
int Rewrite(int fd, std::span<const uint8_t> bytes) {
    if (int error = WriteAll(fd, bytes))
        return error;
    if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || fsync(fd) != 0)
        return errno;
    return 0;
}

// Rewrites the target itself, which keeps its owner, mode and links. Its old content is held
// in memory first and written back if the new content cannot be written completely.
Result WriteInPlace(const std::string& target, std::span<const uint8_t> bytes) {
    Fd file(open(target.c_str(), O_RDWR | O_CLOEXEC));
    if (file.Get() < 0)
        return Result::FileFailure(FileStep::Open, errno);
    struct stat info {};
    if (fstat(file.Get(), &info) != 0)
        return Result::FileFailure(FileStep::Read, errno);
    std::vector<uint8_t> old(static_cast<size_t>(info.st_size));
    if (int error = ReadAll(file.Get(), old.data(), old.size()))
        return Result::FileFailure(FileStep::Read, error);
    if (int error = Rewrite(file.Get(), bytes)) {
        Rewrite(file.Get(), old);
        return Result::FileFailure(FileStep::Write, error);
    }
    if (!file.Close())
        return Result::FileFailure(FileStep::Write, errno);
    return Result::Success();
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

FileForReading::~FileForReading() {
    if (native_ >= 0)
        close(static_cast<int>(native_));
}

Result FileForReading::Open(const std::u16string& path, uint64_t maxBytes) {
    const int fd = open(Utf16ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Result::FileFailure(FileStep::Open, errno);
    native_ = fd;
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return Result::FileFailure(FileStep::Read, errno);
    if (S_ISDIR(info.st_mode))
        return Result::FileFailure(FileStep::Open, EISDIR);
    size_ = static_cast<uint64_t>(info.st_size);
    if (size_ > maxBytes || size_ > SIZE_MAX)
        return Result::FileFailure(FileStep::TooLarge, EFBIG);
    return Result::Success();
}

Result FileForReading::Read(uint8_t* into, size_t count) {
    if (int error = ReadAll(static_cast<int>(native_), into, count, done_))
        return Result::FileFailure(FileStep::Read, error);
    done_ += count;
    return Result::Success();
}

Result WriteFileSafely(const std::u16string& path, std::span<const uint8_t> bytes) {
    const std::string target = Utf16ToUtf8(path);
    struct stat existing {};
    const bool targetExists = stat(target.c_str(), &existing) == 0;
    if (targetExists && S_ISDIR(existing.st_mode))
        return Result::FileFailure(FileStep::Replace, EISDIR);
    // A read-only target is not to be replaced, although the folder would allow it.
    if (targetExists && access(target.c_str(), W_OK) != 0)
        return Result::FileFailure(FileStep::Replace, errno);

    std::string temp = target + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    Fd file(mkstemp(name.data()));
    if (file.Get() < 0) {
        const int error = errno;
        // A folder we may not create files in, or a name too long to take the temporary suffix.
        if (targetExists && (error == EACCES || error == EPERM || error == EROFS || error == ENOSPC ||
                             error == ENAMETOOLONG))
            return WriteInPlace(target, bytes);
        return Result::FileFailure(FileStep::Create, error);
    }
    temp = name.data();
    auto failAndRemove = [&](FileStep step, int code) {
        unlink(temp.c_str());
        return Result::FileFailure(step, code);
    };
    // mkstemp makes the file private and ours; give it the target's owner and permissions (or
    // the usual permissions for a new file). A target that is not ours to give away keeps its
    // owner by being rewritten in place.
    if (targetExists && (existing.st_uid != geteuid() || existing.st_gid != getegid()) &&
        fchown(file.Get(), existing.st_uid, existing.st_gid) != 0) {
        unlink(temp.c_str());
        return WriteInPlace(target, bytes);
    }
    if (fchmod(file.Get(), targetExists ? (existing.st_mode & 07777) : NewFileMode()) != 0)
        return failAndRemove(FileStep::Create, errno);

    if (int error = WriteAll(file.Get(), bytes))
        return failAndRemove(FileStep::Write, error);
    if (fsync(file.Get()) != 0)
        return failAndRemove(FileStep::Write, errno);
    if (!file.Close())
        return failAndRemove(FileStep::Write, errno);
    if (rename(temp.c_str(), target.c_str()) != 0)
        return failAndRemove(FileStep::Replace, errno);

    // Make the new name itself durable; the data already is, so a failure here is not reported.
    Fd folder(open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        fsync(folder.Get());
    return Result::Success();
}

Result OutputBatch::Write(const std::u16string& path, std::span<const uint8_t> bytes) {
    // The temporary name is this process's and numbered, so no other writer takes it; created
    // with the usual permissions of a new file, it needs no change of mode afterwards.
    static std::atomic<unsigned> counter{0};
    const std::string target = Utf16ToUtf8(path);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = target + ".~" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    Fd file(fd);
    if (file.Get() < 0)
        return Result::FileFailure(FileStep::Create, errno);
    auto failAndRemove = [&](FileStep step, int code) {
        unlink(temp.c_str());
        return Result::FileFailure(step, code);
    };
    if (int error = WriteAll(file.Get(), bytes))
        return failAndRemove(FileStep::Write, error);
    if (!file.Close())
        return failAndRemove(FileStep::Write, errno);
    if (rename(temp.c_str(), target.c_str()) != 0)
        return failAndRemove(FileStep::Replace, errno);
    std::lock_guard lock(mutex_);
    written_.push_back(path);
    return Result::Success();
}

Result OutputBatch::Finish() {
    std::lock_guard lock(mutex_);
    // syncfs writes out everything of one file system: once for each the files lie on.
    std::set<dev_t> synced;
    Result result = Result::Success();
    for (const std::u16string& path : written_) {
        const std::string folder = FolderOf(Utf16ToUtf8(path));
        struct stat info {};
        if (stat(folder.c_str(), &info) != 0 || !synced.insert(info.st_dev).second)
            continue;
        Fd handle(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (handle.Get() < 0 || syncfs(handle.Get()) != 0)
            result = Result::FileFailure(FileStep::Write, errno);
    }
    written_.clear();
    return result;
}

bool MakeFolders(const std::u16string& path) {
    const std::filesystem::path folder(Utf16ToUtf8(path));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

std::string SystemErrorText(int code) {
    const char* text = std::strerror(code);
    return text != nullptr && *text != '\0' ? text : "error " + std::to_string(code);
}
