#include "MergeEntries.h"

#include "TblFormat.h"

#include <string_view>
#include <unordered_map>

namespace {

constexpr size_t None = SIZE_MAX;

}  // namespace

TxtIoResult MergeEntries(const std::vector<std::u16string>& sourceKeys,
                         const std::vector<std::u16string>& sourceValues,
                         std::vector<std::u16string>& keys, std::vector<std::u16string>& values) {
    if (sourceKeys.size() != sourceValues.size() || keys.size() != values.size())
        return TxtIoResult::Failure("The keys and values to merge differ in number. Nothing was merged.");

    // A group is all entries with one key: named by its first table index, or, for the k-th
    // key the table lacks, by tableCount + k. The views point into arrays that stay unchanged
    // until the plan is complete.
    const size_t tableCount = keys.size();
    std::unordered_map<std::u16string_view, size_t> groupOfKey;
    groupOfKey.reserve(tableCount + sourceKeys.size());
    std::vector<size_t> nextWithSameKey(tableCount, None);
    for (size_t j = tableCount; j-- > 0;) {
        const auto [group, isNew] = groupOfKey.try_emplace(keys[j], j);
        if (!isNew) {
            nextWithSameKey[j] = group->second;
            group->second = j;
        }
    }

    // The last source entry of each table group and of each new key, and where each new key
    // first occurs.
    std::vector<size_t> lastSourceOfGroup(tableCount, None);
    std::vector<size_t> firstSourceOfNewKey;
    std::vector<size_t> lastSourceOfNewKey;
    for (size_t i = 0; i < sourceKeys.size(); ++i) {
        const auto [group, isNew] =
            groupOfKey.try_emplace(sourceKeys[i], tableCount + firstSourceOfNewKey.size());
        if (isNew) {
            firstSourceOfNewKey.push_back(i);
            lastSourceOfNewKey.push_back(i);
        } else if (group->second < tableCount) {
            lastSourceOfGroup[group->second] = i;
        } else {
            lastSourceOfNewKey[group->second - tableCount] = i;
        }
    }

    const size_t mergedCount = tableCount + firstSourceOfNewKey.size();
    if (mergedCount > TblMaxEntries)
        return TxtIoResult::Failure("The merge would give the table " + std::to_string(mergedCount) +
                                    " entries, more than the 65535 a table holds. Nothing was merged.");

    for (size_t first = 0; first < tableCount; ++first) {
        if (lastSourceOfGroup[first] == None)
            continue;
        for (size_t j = first; j != None; j = nextWithSameKey[j])
            values[j] = sourceValues[lastSourceOfGroup[first]];
    }
    keys.reserve(mergedCount);
    values.reserve(mergedCount);
    for (size_t k = 0; k < firstSourceOfNewKey.size(); ++k) {
        keys.push_back(sourceKeys[firstSourceOfNewKey[k]]);
        values.push_back(sourceValues[lastSourceOfNewKey[k]]);
    }
    return TxtIoResult::Success();
}
