#include "TblHash.h"

#include "Utf.h"

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

uint32_t TblTextHash(std::u16string_view text, uint32_t tableSize) {
    uint32_t h = 0;
    for (char byte : Utf16ToUtf8(text)) {
        if (byte == 0)
            break;
        HashByte(h, static_cast<uint8_t>(byte));
    }
    return h % tableSize;
}

uint32_t TblKeyBytesHash(std::string_view keyBytes, uint32_t tableSize) {
    uint32_t h = 0;
    for (char byte : keyBytes)
        HashByte(h, static_cast<uint8_t>(byte));
    return h % tableSize;
}

uint32_t TblKeyHash(std::u16string_view key, uint32_t tableSize) {
    return TblKeyHashUnreduced(key) % tableSize;
}

namespace {

// CrcTables[0] is the classic table: the CRC of byte i shifted through 8 zero bits.
// CrcTables[k][i] is the same for byte i followed by k zero bytes, so sixteen bytes can be
// folded in at once; the result is the same as a byte at a time with CrcTables[0]. The sixteen
// tables (8 KiB) stay in the first-level cache.
using CrcTableSet = std::array<std::array<uint16_t, 256>, 16>;

constexpr CrcTableSet MakeCrcTables() {
    CrcTableSet tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) ? (crc << 1) ^ 0x1021u : crc << 1;
        tables[0][i] = static_cast<uint16_t>(crc);
    }
    for (size_t k = 1; k < tables.size(); ++k)
        for (uint32_t i = 0; i < 256; ++i) {
            const uint16_t previous = tables[k - 1][i];
            tables[k][i] = static_cast<uint16_t>((previous << 8) ^ tables[0][previous >> 8]);
        }
    return tables;
}

constexpr CrcTableSet CrcTables = MakeCrcTables();

}  // namespace

uint16_t TblCrc16(const uint8_t* bytes, size_t length, uint16_t initial) {
    uint32_t crc = initial;
    size_t i = 0;
    for (; length - i >= 16; i += 16) {
        const uint8_t* b = bytes + i;
        crc = CrcTables[15][b[0] ^ (crc >> 8)] ^ CrcTables[14][b[1] ^ (crc & 0xFF)] ^ CrcTables[13][b[2]] ^
              CrcTables[12][b[3]] ^ CrcTables[11][b[4]] ^ CrcTables[10][b[5]] ^ CrcTables[9][b[6]] ^
              CrcTables[8][b[7]] ^ CrcTables[7][b[8]] ^ CrcTables[6][b[9]] ^ CrcTables[5][b[10]] ^
              CrcTables[4][b[11]] ^ CrcTables[3][b[12]] ^ CrcTables[2][b[13]] ^ CrcTables[1][b[14]] ^
              CrcTables[0][b[15]];
    }
    for (; i < length; ++i)
        crc = ((crc << 8) & 0xFFFF) ^ CrcTables[0][((crc >> 8) ^ bytes[i]) & 0xFF];
    return static_cast<uint16_t>(crc);
}
