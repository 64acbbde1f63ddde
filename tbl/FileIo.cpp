#include "FileIo.h"

#include "Utf.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
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

bool Fail(FileError& error, FileStep step, int code) {
    error.Step = step;
    error.Code = code;
    return false;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

}  // namespace

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes, FileError& error,
                   uint64_t maxBytes) {
    error = {};
    bytes.clear();
    Fd file(open(Utf16ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return Fail(error, FileStep::Open, errno);
    struct stat info {};
    if (fstat(file.Get(), &info) != 0)
        return Fail(error, FileStep::Read, errno);
    if (S_ISDIR(info.st_mode))
        return Fail(error, FileStep::Open, EISDIR);
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (size > maxBytes || size > SIZE_MAX)
        return Fail(error, FileStep::TooLarge, EFBIG);
    bytes.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(error, FileStep::Read, errno);
        if (n == 0)  // the file shrank while being read
            return Fail(error, FileStep::Read, EIO);
        done += static_cast<size_t>(n);
    }
    return true;
}

bool WriteFileSafely(const std::u16string& path, std::span<const uint8_t> bytes, FileError& error) {
    error = {};
    const std::string target = Utf16ToUtf8(path);
    struct stat existing {};
    const bool targetExists = stat(target.c_str(), &existing) == 0;
    if (targetExists && S_ISDIR(existing.st_mode))
        return Fail(error, FileStep::Replace, EISDIR);
    // A read-only target is not to be replaced, although the folder would allow it.
    if (targetExists && access(target.c_str(), W_OK) != 0)
        return Fail(error, FileStep::Replace, errno);

    std::string temp = target + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    Fd file(mkstemp(name.data()));
    if (file.Get() < 0)
        return Fail(error, FileStep::Create, errno);
    temp = name.data();
    auto failAndRemove = [&](FileStep step, int code) {
        unlink(temp.c_str());
        return Fail(error, step, code);
    };
    // mkstemp makes the file private; give it the target's permissions, or the usual ones.
    const mode_t mode = targetExists ? (existing.st_mode & 07777) : [] {
        const mode_t mask = umask(0);
        umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    if (fchmod(file.Get(), mode) != 0)
        return failAndRemove(FileStep::Create, errno);

    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(file.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return failAndRemove(FileStep::Write, n < 0 ? errno : EIO);
        done += static_cast<size_t>(n);
    }
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
    return true;
}
