#include "TblHash.h"

#include <array>

namespace {

void HashByte(uint32_t& h, uint8_t byte) {
    // Bytes 0x80 to 0xFF count as negative: the game reads keys as signed chars.
    h = (h << 4) + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(byte)));
    const uint32_t g = h & 0xF0000000u;
    if (g != 0)
        h = (h & 0x0FFFFFFFu) ^ (g >> 24);
}

}  // namespace

uint32_t TblKeyHashUnreduced(std::u16string_view key) {
    uint32_t h = 0;
    for (char16_t c : key) {
        if (c == 0)
            break;
        if (c <= 0xFF) {
            HashByte(h, static_cast<uint8_t>(c));
        } else if (c < 0x800) {
            // No key of a file holds such a character (the compiler refuses them); text typed
            // into the editor may, and is then hashed as its UTF-8 bytes.
            HashByte(h, static_cast<uint8_t>(0xC0 | (c >> 6)));
            HashByte(h, static_cast<uint8_t>(0x80 | (c & 0x3F)));
        } else {
            HashByte(h, static_cast<uint8_t>(0xE0 | (c >> 12)));
            HashByte(h, static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F)));
            HashByte(h, static_cast<uint8_t>(0x80 | (c & 0x3F)));
        }
    }
    return h;
}

uint32_t TblKeyHash(std::u16string_view key, uint32_t tableSize) {
    return TblKeyHashUnreduced(key) % tableSize;
}

namespace {

constexpr std::array<uint16_t, 256> MakeCrcTable() {
    std::array<uint16_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) ? (crc << 1) ^ 0x1021u : crc << 1;
        table[i] = static_cast<uint16_t>(crc);
    }
    return table;
}

constexpr std::array<uint16_t, 256> CrcTable = MakeCrcTable();

}  // namespace

uint16_t TblCrc16(const uint8_t* bytes, size_t length) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < length; ++i)
        crc = static_cast<uint16_t>((crc << 8) ^ CrcTable[((crc >> 8) ^ bytes[i]) & 0xFF]);
    return crc;
}
