#include "TblSlots.h"

namespace {

// next[s] leads towards the first free slot at or after s: a free slot is its own root, and an
// occupied slot links to the slot after it. Paths are halved on each search.
class FreeSlotFinder {
public:
    explicit FreeSlotFinder(uint32_t slots) : next_(slots) {
        for (uint32_t s = 0; s < slots; ++s)
            next_[s] = s;
    }

    uint32_t FirstFreeFrom(uint32_t s) {
        while (next_[s] != s) {
            next_[s] = next_[next_[s]];
            s = next_[s];
        }
        return s;
    }

    void Occupy(uint32_t s) { next_[s] = s + 1 == next_.size() ? 0 : s + 1; }

private:
    BlockVector<uint32_t> next_;
};

}  // namespace

BlockVector<uint32_t> AssignSlots(std::span<const uint32_t> homeSlots, uint32_t& longestProbe) {
    const auto count = static_cast<uint32_t>(homeSlots.size());
    BlockVector<uint32_t> slots(count);
    FreeSlotFinder finder(count);
    longestProbe = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t home = homeSlots[i];
        const uint32_t slot = finder.FirstFreeFrom(home);
        finder.Occupy(slot);
        slots[i] = slot;
        const uint32_t probes = slot >= home ? slot - home : slot + count - home;
        if (probes > longestProbe)
            longestProbe = probes;
    }
    return slots;
}
