#include "FileIo.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

TEST(ReadWholeFile, ReadsEveryByteOfFilesLargerThanOnePiece) {
    ScratchDir dir;
    std::vector<uint8_t> bytes(200'003);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 131 + 7);
    WriteBytes(dir / "big.dc6", bytes);
    std::vector<uint8_t> read;
    ASSERT_TRUE(ReadWholeFile((dir / "big.dc6").string(), read));
    EXPECT_EQ(read, bytes);
}

TEST(ReadWholeFile, FailsOnEmptyMissingAndFolderPaths) {
    ScratchDir dir;
    WriteBytes(dir / "empty.dc6", {});
    std::vector<uint8_t> read{1, 2, 3};
    EXPECT_FALSE(ReadWholeFile((dir / "empty.dc6").string(), read));
    EXPECT_FALSE(ReadWholeFile((dir / "missing.dc6").string(), read));
    EXPECT_FALSE(ReadWholeFile(dir.Path().string(), read));
    EXPECT_EQ(read, (std::vector<uint8_t>{1, 2, 3})) << "a failed read leaves the buffer alone";
}

TEST(WriteWholeFile, ReplacesAnEarlierFileAndLeavesNothingWhenItCannotWrite) {
    ScratchDir dir;
    const std::vector<uint8_t> bytes{9, 8, 7};
    WriteBytes(dir / "x.pcx", std::vector<uint8_t>(100, 1));
    ASSERT_TRUE(WriteWholeFile((dir / "x.pcx").string(), bytes.data(), bytes.size()));
    EXPECT_EQ(ReadBytes(dir / "x.pcx"), bytes);
    EXPECT_FALSE(WriteWholeFile((dir / "no" / "x.pcx").string(), bytes.data(), bytes.size()));
    EXPECT_FALSE(WriteWholeFile(dir.Path().string(), bytes.data(), bytes.size()));
}

namespace {

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(OutputBatch, WritesEachFileWholeUnderItsNameFromSeveralThreadsAndLeavesNoTemporaryFile) {
    ScratchDir dir;
    WriteBytes(dir / "f0.png", std::vector<uint8_t>(70'000, 0xAA));  // an earlier, longer output
    OutputBatch outputs;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            const std::vector<uint8_t> bytes(static_cast<size_t>(1000 * t + 1), static_cast<uint8_t>(t));
            EXPECT_TRUE(outputs.Write((dir / ("f" + std::to_string(t) + ".png")).u16string(), bytes));
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_TRUE(outputs.Finish());
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"f0.png", "f1.png", "f2.png", "f3.png"}));
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(ReadBytes(dir / ("f" + std::to_string(t) + ".png")),
                  std::vector<uint8_t>(static_cast<size_t>(1000 * t + 1), static_cast<uint8_t>(t)));
}

TEST(OutputBatch, AWriteThatFailsLeavesNoHalfFileAndTheEarlierOutputStands) {
    ScratchDir dir;
    const std::vector<uint8_t> earlier{1, 2, 3};
    WriteBytes(dir / "a.pcx", earlier);
    std::filesystem::create_directory(dir / "folder.pcx");
    OutputBatch outputs;
    EXPECT_FALSE(outputs.Write((dir / "missing" / "a.pcx").u16string(), earlier));
    EXPECT_FALSE(outputs.Write((dir / "folder.pcx").u16string(), earlier));
#ifndef _WIN32
    // A file size limit makes the write itself fail part way, as a full disk does.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const Result cut = outputs.Write((dir / "a.pcx").u16string(), std::vector<uint8_t>(100'000, 7));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(cut);
    EXPECT_EQ(cut.Step, FileStep::Write);
#endif
    EXPECT_TRUE(outputs.Finish());
    EXPECT_EQ(ReadBytes(dir / "a.pcx"), earlier);
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"a.pcx", "folder.pcx"}));
}
