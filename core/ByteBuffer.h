#pragma once

#include "LargeBlocks.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

// A block of bytes that is not zero-filled when made: for a file about to be read into it or
// written out whole, where filling it first would only cost time. A table's file is a large
// block (LargeBlocks.h).
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(size_t size) : data_(static_cast<uint8_t*>(AllocateBlock(size))), size_(size) {}
    ~ByteBuffer() { ReleaseBlock(data_, size_); }
    ByteBuffer(ByteBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    ByteBuffer& operator=(ByteBuffer&& other) noexcept {
        ByteBuffer taken(std::move(other));
        std::swap(data_, taken.data_);
        std::swap(size_, taken.size_);
        return *this;
    }

    uint8_t* data() { return data_; }
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    std::span<const uint8_t> Bytes() const { return {data_, size_}; }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};
