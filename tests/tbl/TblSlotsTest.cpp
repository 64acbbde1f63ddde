#include "TblSlots.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Linear probing one step at a time: the placement the game's tables are written with.
std::vector<uint32_t> ProbeStepByStep(const std::vector<uint32_t>& homes, uint32_t& longestProbe) {
    const size_t n = homes.size();
    std::vector<bool> taken(n);
    std::vector<uint32_t> slots(n);
    longestProbe = 0;
    for (size_t i = 0; i < n; ++i) {
        uint32_t slot = homes[i], probes = 0;
        while (taken[slot]) {
            slot = static_cast<uint32_t>((slot + 1) % n);
            ++probes;
        }
        taken[slot] = true;
        slots[i] = slot;
        longestProbe = std::max(longestProbe, probes);
    }
    return slots;
}

// AssignSlots' result as a plain vector, to compare.
std::vector<uint32_t> Slots(const std::vector<uint32_t>& homes, uint32_t& longestProbe) {
    const BlockVector<uint32_t> slots = AssignSlots(homes, longestProbe);
    return {slots.begin(), slots.end()};
}

void ExpectSameAsProbing(const std::vector<uint32_t>& homes) {
    uint32_t expectedLongest = 0, longest = 0;
    const auto expected = ProbeStepByStep(homes, expectedLongest);
    EXPECT_EQ(Slots(homes, longest), expected);
    EXPECT_EQ(longest, expectedLongest);
}

}  // namespace

TEST(TblSlots, NoTableNoSlots) {
    uint32_t longest = 7;
    EXPECT_TRUE(Slots({}, longest).empty());
    EXPECT_EQ(longest, 0u);
}

TEST(TblSlots, DistinctHomesAreKept) {
    uint32_t longest = 0;
    EXPECT_EQ(Slots({1, 0}, longest), (std::vector<uint32_t>{1, 0}));
    EXPECT_EQ(longest, 0u);
}

TEST(TblSlots, CollisionsWrapPastTheLastSlot) {
    uint32_t longest = 0;
    EXPECT_EQ(Slots({2, 2, 2}, longest), (std::vector<uint32_t>{2, 0, 1}));
    EXPECT_EQ(longest, 2u);
}

TEST(TblSlots, MatchesStepByStepProbingOnRandomTables) {
    std::mt19937 random(99);
    for (int round = 0; round < 200; ++round) {
        const size_t n = 1 + random() % 300;
        std::vector<uint32_t> homes(n);
        for (uint32_t& h : homes)
            h = static_cast<uint32_t>(random() % n);
        ExpectSameAsProbing(homes);
    }
}

TEST(TblSlots, MatchesStepByStepProbingOnClusteredTables) {
    std::mt19937 random(7);
    const size_t n = 3000;
    std::vector<uint32_t> allOne(n, 0), fewHomes(n), descending(n), lastSlot(n, n - 1);
    for (size_t i = 0; i < n; ++i) {
        fewHomes[i] = static_cast<uint32_t>((random() % 4) * (n / 4));
        descending[i] = static_cast<uint32_t>(n - 1 - i / 2);
    }
    for (const auto& homes : {allOne, fewHomes, descending, lastSlot})
        ExpectSameAsProbing(homes);
}
