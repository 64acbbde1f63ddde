#include "LargeBlocks.h"

// Large pages on Windows need a privilege that users do not hold: every block is the heap's.
void* AllocateBlock(size_t bytes) { return ::operator new(bytes); }

void ReleaseBlock(void* block, size_t) { ::operator delete(block); }
