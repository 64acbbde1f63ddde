#include "TblHash.h"

#include "Utf.h"

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
