#include "KeyMatch.h"

#include <unordered_map>

std::vector<size_t> MatchByKeyAndOccurrence(std::span<const std::u16string_view> first,
                                            std::span<const std::u16string_view> second) {
    // For each key of `second`, its next unmatched occurrence; later ones follow in `next`.
    std::unordered_map<std::u16string_view, size_t> nextOfKey;
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
