#pragma once

#include "TabbedEncoding.h"
#include "TblDocument.h"

#include <span>

#include <string>
#include <vector>

// Merges source entries into the table by key, in source order: every table entry whose key
// equals a source key (same UTF-16 units; case matters, nothing trimmed) takes that source
// entry's value, and a source key that the table lacks is appended, then matched by later
// source entries. So new keys arrive once, in order of first occurrence, and the last source
// occurrence of a key gives the value. Entries never move and are never removed.
//
// Linear in the sizes (a hash index over the keys). Refuses, changing nothing, when the table
// would grow beyond the 65,535 entries a .tbl file holds. All changes are prepared before the
// table is changed, so a failure midway leaves it as it was.
Result MergeEntries(std::span<const TblEntry> source, TblDocument& table);
