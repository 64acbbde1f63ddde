#include "ByteReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(ByteReader, ReadsLittleEndianFieldsInOrder) {
    const std::vector<uint8_t> bytes = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
    ByteReader in(bytes);
    EXPECT_EQ(in.U8(), 0x01);
    EXPECT_EQ(in.U16LE(), 0x1234);
    EXPECT_EQ(in.U32LE(), 0x12345678u);
    EXPECT_FALSE(in.Failed());
}

TEST(ByteReader, ReadPastTheEndYieldsZeroAndTheFailureStays) {
    const std::vector<uint8_t> bytes = {0xAA, 0xBB, 0xCC};
    ByteReader in(bytes, 1);
    EXPECT_EQ(in.U32LE(), 0u);  // only two bytes left
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(in.U8(), 0u);     // would fit, but the reader has failed
    EXPECT_TRUE(in.Failed());
}

TEST(ByteReader, StartPastTheEndFailsAtOnce) {
    const std::vector<uint8_t> bytes = {0xAA};
    ByteReader in(bytes, 5);
    EXPECT_EQ(in.U8(), 0u);
    EXPECT_TRUE(in.Failed());
}
