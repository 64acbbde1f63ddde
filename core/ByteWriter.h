#pragma once

#include <cstdint>
#include <vector>

// Appends little-endian numbers to a byte buffer.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

    void U8(uint8_t v) { out_.push_back(v); }
    void U16LE(uint16_t v) {
        out_.push_back(static_cast<uint8_t>(v));
        out_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void U32LE(uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            out_.push_back(static_cast<uint8_t>(v >> shift));
    }

private:
    std::vector<uint8_t>& out_;
};
