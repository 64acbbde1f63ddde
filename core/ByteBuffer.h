#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>

// A block of bytes that is not zero-filled when made: for a file about to be read into it or
// written out whole, where filling it first would only cost time.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(size_t size) : data_(std::make_unique_for_overwrite<uint8_t[]>(size)), size_(size) {}
    ByteBuffer(ByteBuffer&& other) noexcept : data_(std::move(other.data_)), size_(std::exchange(other.size_, 0)) {}
    ByteBuffer& operator=(ByteBuffer&& other) noexcept {
        data_ = std::move(other.data_);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }

    uint8_t* data() { return data_.get(); }
    const uint8_t* data() const { return data_.get(); }
    size_t size() const { return size_; }
    std::span<const uint8_t> Bytes() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<uint8_t[]> data_;
    size_t size_ = 0;
};
