#pragma once

#include "LargeBlocks.h"

#include <cstdint>
#include <span>

// Places entries in a hash table of homeSlots.size() slots exactly as linear probing does:
// entry i, in order, takes the first free slot at or after homeSlots[i], wrapping past the last
// slot. Returns each entry's slot; `longestProbe` receives the most occupied slots any entry
// passed. Every home slot must be below the slot count.
//
// Real tables are heavily clustered (a 5,391-entry game table passes up to 5,381 slots), so the
// free slots are found through a union-find over the slots rather than by stepping.
BlockVector<uint32_t> AssignSlots(std::span<const uint32_t> homeSlots, uint32_t& longestProbe);
