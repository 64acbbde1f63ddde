#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian reads that fail, leaving `value` alone, when the bytes are not all inside
// `bytes`.
inline bool ReadU32LE(std::span<const uint8_t> bytes, size_t offset, uint32_t& value) {
    if (offset > bytes.size() || 4 > bytes.size() - offset)
        return false;
    const uint8_t* p = bytes.data() + offset;
    value = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
            static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return true;
}

inline bool ReadI32LE(std::span<const uint8_t> bytes, size_t offset, int32_t& value) {
    uint32_t raw = 0;
    if (!ReadU32LE(bytes, offset, raw))
        return false;
    value = static_cast<int32_t>(raw);
    return true;
}

// Whether `count` bytes from `offset` lie inside a buffer of `size` bytes.
inline bool RangeInside(size_t size, size_t offset, size_t count) {
    return offset <= size && count <= size - offset;
}
