#pragma once

// Matching the entries of two tables by key: the k-th entry with a key in one table matches the
// k-th entry with that key in the other, so that repeated keys pair up in their order.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr size_t Unmatched = SIZE_MAX;

// For each of the keys `first`, the index of the key of `second` it matches, or Unmatched.
// `Key` is a string view of any character type.
template <class Key>
std::vector<size_t> MatchByKeyAndOccurrence(std::span<const Key> first, std::span<const Key> second) {
    // For each key of `second`, its next unmatched occurrence; later ones follow in `next`.
    std::unordered_map<Key, size_t> nextOfKey;
    nextOfKey.reserve(second.size());
    std::vector<size_t> next(second.size(), Unmatched);
    for (size_t j = second.size(); j-- > 0;) {
        const auto [place, added] = nextOfKey.try_emplace(second[j], j);
        if (!added) {
            next[j] = place->second;
            place->second = j;
        }
    }
    std::vector<size_t> match(first.size(), Unmatched);
    for (size_t i = 0; i < first.size(); ++i) {
        const auto found = nextOfKey.find(first[i]);
        if (found != nextOfKey.end() && found->second != Unmatched) {
            match[i] = found->second;
            found->second = next[found->second];
        }
    }
    return match;
}
