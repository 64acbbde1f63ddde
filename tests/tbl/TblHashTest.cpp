#include "TblHash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TblKeyHash, MatchesTheGamesHashOfAsciiKeys) {
    EXPECT_EQ(TblKeyHashUnreduced(u"abcdefghij"), 0x0ABAA66Au);
    EXPECT_EQ(TblKeyHash(u"a", 2), 1u);
    EXPECT_EQ(TblKeyHash(u"b", 2), 0u);
    EXPECT_EQ(TblKeyHash(u"", 7), 0u);
}

TEST(TblKeyHash, CountsBytesAbove0x7FAsNegative) {
    // The bytes C3 A9 (é in UTF-8) read as a key of two characters, both negative when signed.
    EXPECT_EQ(TblKeyHashUnreduced(u"\u00C3\u00A9"), 0x0FFFF229u);
    EXPECT_NE(TblKeyHashUnreduced(u"\u00C3\u00A9"), 0x0CD9u);
}

TEST(TblKeyHash, HashesTypedCharactersAboveU00FFAsTheirUtf8Bytes) {
    // U+0151 is C5 91 in UTF-8.
    EXPECT_EQ(TblKeyHashUnreduced(u"\u0151"), TblKeyHashUnreduced(u"\u00C5\u0091"));
}

TEST(TblTextHash, HashesAValueAsItsUtf8Bytes) {
    // é is C3 A9 in UTF-8: both bytes count, each as negative, as the game hashes the text.
    EXPECT_EQ(TblTextHash(u"\u00E9", 0xFFFFFFFFu), 0x0FFFF229u);
    EXPECT_NE(TblTextHash(u"\u00E9", 1000), TblKeyHash(u"\u00E9", 1000));
    EXPECT_EQ(TblTextHash(u"abcdefghij", 1000), 0x0ABAA66Au % 1000);
}

TEST(TblCrc16, IsCrc16Ibm3740) {
    const std::string digits = "123456789";
    EXPECT_EQ(TblCrc16(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0x29B1);
    EXPECT_EQ(TblCrc16(nullptr, 0), 0xFFFF);
}

// Every length to 300 covers the tables' sixteen bytes at a time and the folding of four
// 16-byte lanes (64 bytes and more) with every kind of rest; the starts and registers vary
// what a lane's load and the first two bytes meet.
TEST(TblCrc16, AgreesWithTheBitwiseDefinitionAtEveryLengthStartAndRegister) {
    std::vector<uint8_t> bytes(310);
    uint32_t seed = 1;
    for (uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    for (const size_t start : {0, 1, 7})
        for (const uint16_t initial : {0xFFFF, 0x0000, 0xA5C3})
            for (size_t length = 0; length <= 300; ++length) {
                uint16_t crc = initial;
                for (size_t i = start; i < start + length; ++i) {
                    crc ^= static_cast<uint16_t>(bytes[i] << 8);
                    for (int bit = 0; bit < 8; ++bit)
                        crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
                }
                ASSERT_EQ(TblCrc16(bytes.data() + start, length, initial), crc)
                    << "start " << start << ", register " << initial << ", length " << length;
            }
}

TEST(TblCrc16, TakenPieceByPieceIsTheCrcOfTheWhole) {
    const std::string whole("key\0value\0other key\0", 20);
    const auto* bytes = reinterpret_cast<const uint8_t*>(whole.data());
    EXPECT_EQ(TblCrc16(bytes + 4, 16, TblCrc16(bytes, 4)), TblCrc16(bytes, 20));
}

TEST(TblKeyHash, KeyAsStoredBytesHashesAsTheKeyItIs) {
    EXPECT_EQ(TblKeyBytesHash("caf\xE9", 1000), TblKeyHash(u"caf\u00E9", 1000));
    EXPECT_EQ(TblKeyBytesHash("abcdefghij", 7919), TblKeyHash(u"abcdefghij", 7919));
}
