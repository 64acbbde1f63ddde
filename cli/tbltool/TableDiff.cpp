#include "TableDiff.h"

#include "KeyMatch.h"

#include <algorithm>

namespace {

std::vector<std::u16string_view> KeyViews(const std::vector<TblEntry>& entries) {
    std::vector<std::u16string_view> keys;
    keys.reserve(entries.size());
    for (const TblEntry& entry : entries)
        keys.push_back(entry.Key);
    return keys;
}

// Marks the matched old entries that stay in order: a longest increasing run of their new
// indices (patience sorting, n log n).
std::vector<bool> KeptInOrder(const std::vector<size_t>& match) {
    std::vector<size_t> tails;        // tails[l]: old index ending the best run of length l + 1
    std::vector<size_t> previous(match.size(), Unmatched);
    for (size_t i = 0; i < match.size(); ++i) {
        if (match[i] == Unmatched)
            continue;
        const auto place = std::lower_bound(tails.begin(), tails.end(), match[i],
                                            [&](size_t tail, size_t value) { return match[tail] < value; });
        if (place != tails.begin())
            previous[i] = *(place - 1);
        if (place == tails.end())
            tails.push_back(i);
        else
            *place = i;
    }
    std::vector<bool> kept(match.size(), false);
    for (size_t i = tails.empty() ? Unmatched : tails.back(); i != Unmatched; i = previous[i])
        kept[i] = true;
    return kept;
}

}  // namespace

std::vector<EntryChange> DiffTables(const TblDocument& oldDocument, const TblDocument& newDocument) {
    const std::vector<TblEntry> oldTable = oldDocument.Entries(), newTable = newDocument.Entries();
    const std::vector<size_t> match = MatchByKeyAndOccurrence<std::u16string_view>(KeyViews(oldTable), KeyViews(newTable));
    const std::vector<bool> kept = KeptInOrder(match);
    std::vector<EntryChange> changes;
    std::vector<bool> newMatched(newTable.size(), false);
    for (size_t i = 0; i < match.size(); ++i) {
        const size_t j = match[i];
        if (j == Unmatched) {
            changes.push_back({EntryChange::Removed, i, Unmatched});
            continue;
        }
        newMatched[j] = true;
        if (oldTable[i].Value != newTable[j].Value)
            changes.push_back({EntryChange::Changed, i, j});
        else if (!kept[i])
            changes.push_back({EntryChange::Moved, i, j});
    }
    for (size_t j = 0; j < newMatched.size(); ++j)
        if (!newMatched[j])
            changes.push_back({EntryChange::Added, Unmatched, j});
    return changes;
}
