#include "LargeBlocks.h"

#include <sys/mman.h>

namespace {

constexpr size_t HugePage = size_t{2} << 20;

// A large block is mapped in whole huge pages, so that the system can give it huge pages only.
size_t MappedLength(size_t bytes) { return (bytes + HugePage - 1) / HugePage * HugePage; }

}  // namespace

void* AllocateBlock(size_t bytes) {
    if (bytes < LargeBlockBytes)
        return ::operator new(bytes);
    void* block = mmap(nullptr, MappedLength(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(block, MappedLength(bytes), MADV_HUGEPAGE);  // a hint: the block works without it
#endif
    return block;
}

void ReleaseBlock(void* block, size_t bytes) {
    if (bytes < LargeBlockBytes)
        ::operator delete(block);
    else if (block)
        munmap(block, MappedLength(bytes));
}
