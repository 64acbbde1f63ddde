#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <vector>

// Memory for the blocks a whole table takes at once: the file's bytes, and arrays with an
// element per entry or per node. Each is touched soon after it is made, and faulting in
// megabytes of fresh small pages one at a time cost more than the work on them (about 10 us a
// page where the system runs in a virtual machine). So a block of LargeBlockBytes and more is
// mapped on its own, in whole huge pages of 2 MiB where the system gives them
// (LargeBlocks_posix.cpp); a smaller one comes from the heap.
inline constexpr size_t LargeBlockBytes = size_t{256} << 10;

// A block of `bytes` bytes, not zero-filled, aligned as operator new aligns; throws std::bad_alloc.
void* AllocateBlock(size_t bytes);
// Gives back a block from AllocateBlock, with the same size.
void ReleaseBlock(void* block, size_t bytes);

// An allocator over those blocks, for a std::vector of a table's size.
template <typename T>
struct BlockAllocator {
    using value_type = T;

    BlockAllocator() = default;
    template <typename U>
    BlockAllocator(const BlockAllocator<U>&) {}

    T* allocate(size_t count) {
        if (count > std::numeric_limits<size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(AllocateBlock(count * sizeof(T)));
    }
    void deallocate(T* block, size_t count) { ReleaseBlock(block, count * sizeof(T)); }

    template <typename U>
    bool operator==(const BlockAllocator<U>&) const {
        return true;
    }
};

template <typename T>
using BlockVector = std::vector<T, BlockAllocator<T>>;
