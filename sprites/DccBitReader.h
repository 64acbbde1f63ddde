#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

// Reads the bit fields of a DCC file: least significant bit first, within a window of a
// byte buffer given in bits. A read past the window's end yields 0 and sets a flag that
// stays set, so a caller may read a whole record and check once.
class DccBitReader {
    static_assert(std::endian::native == std::endian::little, "Peek loads the bytes as a little-endian word");

public:
    DccBitReader() = default;
    // The window [startBit, startBit + bitCount), cut to the buffer's end.
    DccBitReader(std::span<const uint8_t> bytes, uint64_t startBit, uint64_t bitCount) : bytes_(bytes) {
        const uint64_t total = static_cast<uint64_t>(bytes.size()) * 8;
        position_ = startBit < total ? startBit : total;
        end_ = bitCount < total - position_ ? position_ + bitCount : total;
    }

    // `count` bits (0 to 32) as an unsigned number.
    uint32_t Bits(unsigned count) {
        if (failed_ || count > end_ - position_) {
            failed_ = true;
            position_ = end_;
            return 0;
        }
        const uint32_t value = Peek(count);
        position_ += count;
        return value;
    }

    // `count` bits as a two's-complement number of that width.
    int32_t SignedBits(unsigned count) {
        const uint32_t value = Bits(count);
        if (count == 0 || count == 32)
            return static_cast<int32_t>(value);
        const uint32_t sign = uint32_t(1) << (count - 1);
        return static_cast<int32_t>((value ^ sign) - sign);
    }

    bool Failed() const { return failed_; }
    uint64_t Position() const { return position_; }
    uint64_t End() const { return end_; }
    uint64_t Remaining() const { return end_ - position_; }

private:
    // Takes the bits from an 8-byte load where the buffer has them, bit by bit near its end.
    uint32_t Peek(unsigned count) const {
        if (count == 0)
            return 0;
        const size_t byte = static_cast<size_t>(position_ >> 3);
        const unsigned shift = static_cast<unsigned>(position_ & 7);
        const uint64_t mask = (uint64_t(1) << count) - 1;
        if (bytes_.size() - byte >= 8) {
            uint64_t word;
            std::memcpy(&word, bytes_.data() + byte, 8);
            return static_cast<uint32_t>((word >> shift) & mask);
        }
        uint64_t value = 0;
        for (unsigned i = 0; i < count; ++i) {
            const uint64_t bit = position_ + i;
            value |= static_cast<uint64_t>((bytes_[static_cast<size_t>(bit >> 3)] >> (bit & 7)) & 1) << i;
        }
        return static_cast<uint32_t>(value);
    }

    std::span<const uint8_t> bytes_;
    uint64_t position_ = 0;
    uint64_t end_ = 0;
    bool failed_ = false;
};
