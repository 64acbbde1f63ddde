#pragma once

#include "TabbedEncoding.h"

#include <string>
#include <vector>

// Merges source entries into the table by key, in source order: every table entry whose key
// equals a source key (same UTF-16 units; case matters, nothing trimmed) takes that source
// entry's value, and a source key that the table lacks is appended, then matched by later
// source entries. So new keys arrive once, in order of first occurrence, and the last source
// occurrence of a key gives the value. Entries never move and are never removed.
//
// Linear in the sizes (a hash index over the keys). Refuses, changing nothing, when the
// source arrays differ in length or the table would grow beyond the 65,535 entries a .tbl
// file holds.
Result MergeEntries(const std::vector<std::u16string>& sourceKeys,
                    const std::vector<std::u16string>& sourceValues,
                    std::vector<std::u16string>& keys, std::vector<std::u16string>& values);
