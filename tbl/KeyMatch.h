#pragma once

// Matching the entries of two tables by key: the k-th entry with a key in one table matches the
// k-th entry with that key in the other, so that repeated keys pair up in their order.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

inline constexpr size_t Unmatched = SIZE_MAX;

// For each of the keys `first`, the index of the key of `second` it matches, or Unmatched.
std::vector<size_t> MatchByKeyAndOccurrence(std::span<const std::u16string_view> first,
                                            std::span<const std::u16string_view> second);
