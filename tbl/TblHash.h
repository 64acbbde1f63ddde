#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The home slot of a key in a hash table of `tableSize` slots (tableSize > 0). The key's
// characters U+0000 to U+00FF are hashed as one byte each, exactly the bytes a key is
// stored as, so that a key read from a file hashes as the game hashes it.
uint32_t TblKeyHash(std::u16string_view key, uint32_t tableSize);

// The slot of a text hashed as its UTF-8 bytes, as the game hashes the text of a value (the
// status bar's "Hash:"): U+00E9 counts as the two bytes C3 A9, not as the one byte E9.
uint32_t TblTextHash(std::u16string_view text, uint32_t tableSize);

// The same for a key as stored, one byte per character.
uint32_t TblKeyBytesHash(std::string_view keyBytes, uint32_t tableSize);

// The same hash before the reduction to a slot.
uint32_t TblKeyHashUnreduced(std::u16string_view key);

// CRC-16/IBM-3740 (poly 0x1021, init 0xFFFF, not reflected): the header's text-area checksum.
// `crc` continues the CRC of the bytes before these, so that it can be taken piece by piece.
uint16_t TblCrc16(const uint8_t* bytes, size_t length, uint16_t crc = 0xFFFF);
