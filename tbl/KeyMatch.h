#pragma once

// Matching the entries of two tables by key: the k-th entry with a key in one table matches the
// k-th entry with that key in the other, so that repeated keys pair up in their order.

#include "TblHistory.h"

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr size_t Unmatched = SIZE_MAX;

// For each entry of `first`, the index of the entry of `second` it matches, or Unmatched.
std::vector<size_t> MatchByKeyAndOccurrence(const std::vector<TblEntry>& first, const std::vector<TblEntry>& second);
