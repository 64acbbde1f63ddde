#include "FileIo.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

size_t FilesIn(const std::filesystem::path& dir) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

// Folders and files past 260 characters for the test itself: Windows takes them only with the
// \\?\ prefix, which std::filesystem does not add.
#ifdef _WIN32
std::wstring AnyLength(const std::filesystem::path& path) { return L"\\\\?\\" + path.wstring(); }
#endif

// `levels` folders of 80 characters each below `top`, made one by one.
std::filesystem::path MakeDeepFolder(const std::filesystem::path& top, int levels) {
    std::filesystem::path folder = top;
    for (int level = 0; level < levels; ++level) {
        folder /= std::string(80, static_cast<char>('a' + level));
#ifdef _WIN32
        CreateDirectoryW(AnyLength(folder).c_str(), nullptr);
#else
        std::filesystem::create_directory(folder);
#endif
    }
    return folder;
}

// Removes `file` and its folders up to `top`, which stays.
void RemoveDeepFile(const std::filesystem::path& file, const std::filesystem::path& top) {
#ifdef _WIN32
    EXPECT_TRUE(DeleteFileW(AnyLength(file).c_str()));
    for (std::filesystem::path p = file.parent_path(); p != top; p = p.parent_path())
        EXPECT_TRUE(RemoveDirectoryW(AnyLength(p).c_str())) << "the folder holds more than the one file";
#else
    EXPECT_EQ(FilesIn(file.parent_path()), 1u) << top;
#endif
}

}  // namespace

TEST(FileIo, WritesAndReadsBackAFileWithANonAsciiPath) {
    ScratchDir dir;
    const std::filesystem::path folder = dir / "Zauberspr\u00FCche \u4E2D\u6587";
    std::filesystem::create_directory(folder);
    const std::u16string path = (folder / "\u00E9t\u00E9 \U0001F600.tbl").u16string();
    Result error;
    ASSERT_TRUE((error = WriteFileSafely(path, Bytes("hello")))) << error.Message;
    std::vector<uint8_t> read;
    ASSERT_TRUE((error = ReadWholeFile(path, read))) << error.Message;
    EXPECT_EQ(read, Bytes("hello"));
    EXPECT_EQ(FilesIn(folder), 1u);
}

TEST(FileIo, ReplacesAnExistingFileCompletely) {
    ScratchDir dir;
    WriteBytes(dir / "t.bin", Bytes("a much longer old content"));
    Result error;
    ASSERT_TRUE((error = WriteFileSafely((dir / "t.bin").u16string(), Bytes("new"))));
    EXPECT_EQ(ReadBytes(dir / "t.bin"), Bytes("new"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(FileIo, WritesAnEmptyFile) {
    ScratchDir dir;
    Result error;
    ASSERT_TRUE((error = WriteFileSafely((dir / "empty").u16string(), {})));
    std::vector<uint8_t> read{1};
    ASSERT_TRUE((error = ReadWholeFile((dir / "empty").u16string(), read)));
    EXPECT_TRUE(read.empty());
}

TEST(FileIo, MissingFileFailsToOpenWithTheSystemErrorNumber) {
    ScratchDir dir;
    std::vector<uint8_t> read;
    Result error;
    EXPECT_FALSE((error = ReadWholeFile((dir / "absent.tbl").u16string(), read)));
    EXPECT_EQ(error.Step, FileStep::Open);
    EXPECT_EQ(error.Code, 2);  // ENOENT and ERROR_FILE_NOT_FOUND are both 2
    // The system's words, not its number.
    EXPECT_TRUE(error.Message.starts_with("could not open the file: ")) << error.Message;
    EXPECT_EQ(error.Message.find_first_of("0123456789"), std::string::npos) << error.Message;
}

TEST(FileIo, FileLargerThanAllowedIsRefusedUnread) {
    ScratchDir dir;
    WriteBytes(dir / "big", Bytes("0123456789"));
    std::vector<uint8_t> read;
    Result error;
    EXPECT_FALSE((error = ReadWholeFile((dir / "big").u16string(), read, 9)));
    EXPECT_EQ(error.Step, FileStep::TooLarge);
    EXPECT_TRUE(read.empty());
}

TEST(FileIo, MissingTargetFolderFailsAndLeavesNothing) {
    ScratchDir dir;
    Result error;
    EXPECT_FALSE((error = WriteFileSafely((dir / "missing" / "x").u16string(), Bytes("x"))));
    EXPECT_EQ(error.Step, FileStep::Create);
    EXPECT_NE(error.Code, 0);
    EXPECT_EQ(FilesIn(dir.Path()), 0u);
}

TEST(FileIo, TargetThatIsAFolderIsLeftAlone) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "target");
    WriteBytes(dir / "target" / "inside", Bytes("keep"));
    Result error;
    EXPECT_FALSE((error = WriteFileSafely((dir / "target").u16string(), Bytes("x"))));
    EXPECT_EQ(ReadBytes(dir / "target" / "inside"), Bytes("keep"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    EXPECT_TRUE(error.Message.starts_with("could not replace the target with the new file: ")) << error.Message;
}

TEST(FileIo, ReadOnlyTargetIsNotReplaced) {
    ScratchDir dir;
    const std::filesystem::path target = dir / "ro.tbl";
    WriteBytes(target, Bytes("old"));
    std::filesystem::permissions(target, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
#ifndef _WIN32
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: every file is writable";
#endif
    Result error;
    EXPECT_FALSE((error = WriteFileSafely(target.u16string(), Bytes("new"))));
    std::filesystem::permissions(target, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(ReadBytes(target), Bytes("old"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

// A file whose name leaves no room for the temporary suffix stands for every target beside
// which no temporary file can be made (a read-only folder, where running as root would not
// stop us): it is rewritten in place.
TEST(FileIoSaving, TargetWithoutRoomForATemporaryFileIsRewrittenInPlace) {
    ScratchDir dir;
    const std::filesystem::path target = dir / (std::string(250, 'n') + ".tbl");
    WriteBytes(target, Bytes("a much longer old content"));
    const Result written = WriteFileSafely(target.u16string(), Bytes("new"));
    ASSERT_TRUE(written) << written.Message;
    EXPECT_EQ(ReadBytes(target), Bytes("new"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(FileIoSaving, PathsLongerThan260CharactersAreReadAndWritten) {
    ScratchDir dir;
    const std::filesystem::path folder = MakeDeepFolder(dir.Path(), 4);
    const std::u16string path = (folder / "long.tbl").u16string();
    ASSERT_GT(path.size(), 330u);
    Result result = WriteFileSafely(path, Bytes("first"));
    ASSERT_TRUE(result) << result.Message;
    result = WriteFileSafely(path, Bytes("second"));
    ASSERT_TRUE(result) << result.Message;
    std::vector<uint8_t> read;
    result = ReadWholeFile(path, read);
    ASSERT_TRUE(result) << result.Message;
    EXPECT_EQ(read, Bytes("second"));
    RemoveDeepFile(folder / "long.tbl", dir.Path());
}

TEST(FileIoSaving, EightBitPathsReadAndWriteTheSameFiles) {
    ScratchDir dir;
    const std::string path = (dir / "sprite.dc6").string();
    ASSERT_TRUE(WriteWholeFile(path, Bytes("dc6").data(), 3));
    std::vector<uint8_t> read;
    ASSERT_TRUE(ReadWholeFile(path, read));
    EXPECT_EQ(read, Bytes("dc6"));
}

#ifdef _WIN32
TEST(FileIoSaving, ReplacingAFileKeepsItsAttributes) {
    ScratchDir dir;
    const std::filesystem::path target = dir / "kept.tbl";
    WriteBytes(target, Bytes("old"));
    const std::wstring name = target.wstring();
    ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const Result written = WriteFileSafely(target.u16string(), Bytes("new"));
    ASSERT_TRUE(written) << written.Message;
    EXPECT_EQ(ReadBytes(target), Bytes("new"));
    EXPECT_TRUE(GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}
#else
namespace {

// Lets no write of this process make a file larger than `limit` bytes while it lives: writes
// past it fail with EFBIG, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int);
};

}  // namespace

TEST(FileIoSaving, FailedWriteLeavesTheOldFileWholeBothWays) {
    ScratchDir dir;
    const std::vector<uint8_t> big(4096, 'x');
    for (const std::string& name : {std::string("beside.tbl"), std::string(250, 'p') + ".tbl"}) {
        const std::filesystem::path target = dir / name;
        WriteBytes(target, Bytes("old content"));
        Result written;
        {
            FileSizeLimit limit(1024);
            written = WriteFileSafely(target.u16string(), big);
        }
        EXPECT_FALSE(written) << name.size();
        EXPECT_EQ(written.Step, FileStep::Write);
        EXPECT_EQ(ReadBytes(target), Bytes("old content")) << name.size();
    }
    EXPECT_EQ(FilesIn(dir.Path()), 2u);
}

TEST(FileIoSaving, SavingKeepsTheFilesOwnerAndMode) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another owner";
    ScratchDir dir;
    const std::filesystem::path target = dir / "owned.tbl";
    WriteBytes(target, Bytes("old"));
    ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const Result written = WriteFileSafely(target.u16string(), Bytes("new"));
    ASSERT_TRUE(written) << written.Message;
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(target), Bytes("new"));
}
#endif
