#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Whether `count` bytes from `offset` lie inside a buffer of `size` bytes.
inline bool RangeInside(size_t size, size_t offset, size_t count) {
    return offset <= size && count <= size - offset;
}

// Reads little-endian numbers from a byte buffer: the one reader of the .tbl and DC6 formats.
// A read past the end yields 0 and sets a flag that stays set, so a caller may read a whole
// record and check once.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes, size_t offset = 0)
        : data_(bytes.data()), size_(bytes.size()), offset_(offset), failed_(offset > bytes.size()) {}

    uint8_t U8() {
        const uint8_t* p = Take(1);
        return p ? p[0] : 0;
    }
    uint16_t U16LE() {
        const uint8_t* p = Take(2);
        return p ? static_cast<uint16_t>(p[0] | (p[1] << 8)) : 0;
    }
    uint32_t U32LE() {
        const uint8_t* p = Take(4);
        return p ? static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24)
                 : 0;
    }
    int32_t I32LE() { return static_cast<int32_t>(U32LE()); }

    bool Failed() const { return failed_; }

private:
    const uint8_t* Take(size_t n) {
        if (failed_ || n > size_ - offset_) {
            failed_ = true;
            return nullptr;
        }
        const uint8_t* p = data_ + offset_;
        offset_ += n;
        return p;
    }

    const uint8_t* data_;
    size_t size_;
    size_t offset_;
    bool failed_;
};
