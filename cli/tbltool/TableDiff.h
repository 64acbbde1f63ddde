#pragma once

// The differences between two tables, entry by entry. Entries are matched by key; the k-th
// entry with a key in one table matches the k-th entry with that key in the other.

#include "TableFiles.h"

#include <cstddef>
#include <vector>

struct EntryChange {
    enum Kind { Removed, Added, Changed, Moved } What;
    size_t OldIndex;  // in the old table (Removed, Changed, Moved)
    size_t NewIndex;  // in the new table (Added, Changed, Moved)
};

// Changed: both tables hold the entry with different values. Moved: the same value, but the
// entry stands in another order among the matched entries (the fewest such entries: those off
// a longest run that keeps its order); an entry that only shifted because others came or went
// has not moved. In this order: removed and changed and moved by old index, then added by new
// index. Empty when the tables hold the same entries in the same order.
std::vector<EntryChange> DiffTables(const TblDocument& oldTable, const TblDocument& newTable);
