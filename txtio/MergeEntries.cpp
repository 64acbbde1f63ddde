#include "MergeEntries.h"

#include "TblFormat.h"

#include <bit>
#include <functional>
#include <string_view>

namespace {

constexpr size_t None = SIZE_MAX;

// Key groups by key, in one flat open-addressing table: no allocation per key, and a probe
// compares a stored hash before it looks at any key's text.
class KeyGroupIndex {
public:
    explicit KeyGroupIndex(size_t maxKeys) : slots_(std::bit_ceil(2 * maxKeys + 2)), mask_(slots_.size() - 1) {}

    // The group of `key` and false; or, when no group has the key, `newGroup` and true after
    // adding it. `keyOfGroup(g)` gives the key of a group added before.
    template <typename KeyOfGroup>
    std::pair<size_t, bool> FindOrAdd(std::u16string_view key, size_t newGroup, const KeyOfGroup& keyOfGroup) {
        const size_t hash = std::hash<std::u16string_view>{}(key);
        for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.Group == None) {
                slot = {newGroup, hash};
                return {newGroup, true};
            }
            if (slot.Hash == hash && keyOfGroup(slot.Group) == key)
                return {slot.Group, false};
        }
    }

private:
    struct Slot {
        size_t Group = None;
        size_t Hash = 0;
    };
    std::vector<Slot> slots_;  // at most half full, so every probe run ends
    size_t mask_;
};

}  // namespace

Result MergeEntries(std::span<const TblEntry> source, TblDocument& table) {
    // A group is all entries with one key: named by its first table index, or, for the k-th
    // key the table lacks, by tableCount + k. Nothing changes until the plan is complete.
    const size_t tableCount = table.Count();
    std::vector<std::u16string> keys(tableCount);
    for (size_t j = 0; j < tableCount; ++j)
        keys[j] = table.Key(j);
    std::vector<size_t> firstSourceOfNewKey;
    const auto keyOfGroup = [&](size_t group) -> const std::u16string& {
        return group < tableCount ? keys[group] : source[firstSourceOfNewKey[group - tableCount]].Key;
    };
    KeyGroupIndex index(tableCount + source.size());
    std::vector<size_t> nextWithSameKey(tableCount, None);
    for (size_t j = 0; j < tableCount; ++j) {
        const auto [first, isNew] = index.FindOrAdd(keys[j], j, keyOfGroup);
        if (!isNew) {  // j joins the chain that starts at the group's first entry
            nextWithSameKey[j] = nextWithSameKey[first];
            nextWithSameKey[first] = j;
        }
    }

    // The last source entry of each table group and of each new key, and where each new key
    // first occurs.
    std::vector<size_t> lastSourceOfGroup(tableCount, None);
    std::vector<size_t> lastSourceOfNewKey;
    for (size_t i = 0; i < source.size(); ++i) {
        const auto [group, isNew] = index.FindOrAdd(source[i].Key, tableCount + firstSourceOfNewKey.size(), keyOfGroup);
        if (isNew) {
            firstSourceOfNewKey.push_back(i);
            lastSourceOfNewKey.push_back(i);
        } else if (group < tableCount) {
            lastSourceOfGroup[group] = i;
        } else {
            lastSourceOfNewKey[group - tableCount] = i;
        }
    }

    const size_t mergedCount = tableCount + firstSourceOfNewKey.size();
    if (mergedCount > TblMaxEntries)
        return Result::Failure("The merge would give the table " + std::to_string(mergedCount) +
                                    " entries, more than the 65535 a table holds. Nothing was merged.");

    std::vector<std::pair<size_t, TblEntry>> replaced;
    for (size_t first = 0; first < tableCount; ++first) {
        if (lastSourceOfGroup[first] == None)
            continue;
        for (size_t j = first; j != None; j = nextWithSameKey[j])
            replaced.push_back({j, {std::move(keys[j]), source[lastSourceOfGroup[first]].Value}});
    }
    std::vector<TblEntry> added;
    added.reserve(firstSourceOfNewKey.size());
    for (size_t k = 0; k < firstSourceOfNewKey.size(); ++k)
        added.push_back({source[firstSourceOfNewKey[k]].Key, source[lastSourceOfNewKey[k]].Value});
    table.ReplaceAndAppend(std::move(replaced), std::move(added));
    return Result::Success();
}
