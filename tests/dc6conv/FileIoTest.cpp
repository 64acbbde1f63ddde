#include "FileIo.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

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
