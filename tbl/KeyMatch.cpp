#include "KeyMatch.h"

#include <string_view>
#include <unordered_map>

std::vector<size_t> MatchByKeyAndOccurrence(const std::vector<TblEntry>& first, const std::vector<TblEntry>& second) {
    std::unordered_map<std::u16string_view, std::vector<size_t>> secondByKey;
    for (size_t j = 0; j < second.size(); ++j)
        secondByKey[second[j].Key].push_back(j);
    std::unordered_map<std::u16string_view, size_t> seen;
    std::vector<size_t> match(first.size(), Unmatched);
    for (size_t i = 0; i < first.size(); ++i) {
        const size_t occurrence = seen[first[i].Key]++;
        const auto found = secondByKey.find(first[i].Key);
        if (found != secondByKey.end() && occurrence < found->second.size())
            match[i] = found->second[occurrence];
    }
    return match;
}
