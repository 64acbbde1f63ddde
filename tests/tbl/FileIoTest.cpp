#include "FileIo.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
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

}  // namespace

TEST(FileIo, WritesAndReadsBackAFileWithANonAsciiPath) {
    ScratchDir dir;
    const std::filesystem::path folder = dir / "Zauberspr\u00FCche \u4E2D\u6587";
    std::filesystem::create_directory(folder);
    const std::u16string path = (folder / "\u00E9t\u00E9 \U0001F600.tbl").u16string();
    FileError error;
    ASSERT_TRUE(WriteFileSafely(path, Bytes("hello"), error)) << DescribeFileError(error);
    std::vector<uint8_t> read;
    ASSERT_TRUE(ReadWholeFile(path, read, error)) << DescribeFileError(error);
    EXPECT_EQ(read, Bytes("hello"));
    EXPECT_EQ(FilesIn(folder), 1u);
}

TEST(FileIo, ReplacesAnExistingFileCompletely) {
    ScratchDir dir;
    WriteBytes(dir / "t.bin", Bytes("a much longer old content"));
    FileError error;
    ASSERT_TRUE(WriteFileSafely((dir / "t.bin").u16string(), Bytes("new"), error));
    EXPECT_EQ(ReadBytes(dir / "t.bin"), Bytes("new"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(FileIo, WritesAnEmptyFile) {
    ScratchDir dir;
    FileError error;
    ASSERT_TRUE(WriteFileSafely((dir / "empty").u16string(), {}, error));
    std::vector<uint8_t> read{1};
    ASSERT_TRUE(ReadWholeFile((dir / "empty").u16string(), read, error));
    EXPECT_TRUE(read.empty());
}

TEST(FileIo, MissingFileFailsToOpenWithTheSystemErrorNumber) {
    ScratchDir dir;
    std::vector<uint8_t> read;
    FileError error;
    EXPECT_FALSE(ReadWholeFile((dir / "absent.tbl").u16string(), read, error));
    EXPECT_EQ(error.Step, FileStep::Open);
    EXPECT_EQ(error.Code, 2);  // ENOENT and ERROR_FILE_NOT_FOUND are both 2
}

TEST(FileIo, FileLargerThanAllowedIsRefusedUnread) {
    ScratchDir dir;
    WriteBytes(dir / "big", Bytes("0123456789"));
    std::vector<uint8_t> read;
    FileError error;
    EXPECT_FALSE(ReadWholeFile((dir / "big").u16string(), read, error, 9));
    EXPECT_EQ(error.Step, FileStep::TooLarge);
    EXPECT_TRUE(read.empty());
}

TEST(FileIo, MissingTargetFolderFailsAndLeavesNothing) {
    ScratchDir dir;
    FileError error;
    EXPECT_FALSE(WriteFileSafely((dir / "missing" / "x").u16string(), Bytes("x"), error));
    EXPECT_EQ(error.Step, FileStep::Create);
    EXPECT_NE(error.Code, 0);
    EXPECT_EQ(FilesIn(dir.Path()), 0u);
}

TEST(FileIo, TargetThatIsAFolderIsLeftAlone) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "target");
    WriteBytes(dir / "target" / "inside", Bytes("keep"));
    FileError error;
    EXPECT_FALSE(WriteFileSafely((dir / "target").u16string(), Bytes("x"), error));
    EXPECT_EQ(ReadBytes(dir / "target" / "inside"), Bytes("keep"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    EXPECT_NE(DescribeFileError(error).find("error"), std::string::npos);
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
    FileError error;
    EXPECT_FALSE(WriteFileSafely(target.u16string(), Bytes("new"), error));
    std::filesystem::permissions(target, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(ReadBytes(target), Bytes("old"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}
