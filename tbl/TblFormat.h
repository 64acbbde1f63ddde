#pragma once

// The layout of a compiled Diablo II string table (.tbl). All numbers are little-endian;
// records are read and written field by field (see ByteReader), never by casting structs.
//
//   offset 0            TblHeader (21 bytes)
//   21                  index array: N 16-bit node numbers, entry i is described by node index[i]
//   21 + 2N             node table: H TblHashNode records (17 bytes each)
//   21 + 2N + 17H       text area: zero-terminated key and value strings

#include <cstddef>
#include <cstdint>

struct TblHeader {
    uint16_t Crc = 0;            // TblCrc16 over the text area
    uint16_t ElementCount = 0;   // N
    uint32_t HashTableSize = 0;  // H, in nodes
    uint8_t Version = 0;
    uint32_t TextStart = 0;      // offset of the text area from the start of the file
    uint32_t MaxTries = 0;       // longest probe run of any key, plus 1
    uint32_t FileSize = 0;       // offset of the end of the text area

    static constexpr size_t Size = 21;
};

struct TblHashNode {
    uint8_t Used = 0;            // 0 = free slot; any other value = used
    uint16_t ElementIndex = 0;   // index number of the entry in this slot
    uint32_t Hash = 0;           // the key's home slot
    uint32_t KeyOffset = 0;      // absolute file offset of the key string
    uint32_t ValueOffset = 0;    // absolute file offset of the value string
    uint16_t ValueLength = 0;    // bytes of the value string, terminating zero included

    static constexpr size_t Size = 17;
};

// A table's element count is a 16-bit field.
constexpr size_t TblMaxEntries = 65535;
