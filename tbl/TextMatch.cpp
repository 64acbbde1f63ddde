#include "TextMatch.h"

#include <algorithm>

std::u16string AsciiLowerCase(std::u16string_view text) {
    std::u16string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
    return lower;
}

int FindSearchText(std::u16string_view text, std::u16string_view searchText, bool ignoreCase, size_t from) {
    if (from > text.size() || searchText.size() > text.size() - from)
        return -1;
    if (!ignoreCase) {
        size_t found = text.find(searchText, from);
        return found == std::u16string_view::npos ? -1 : static_cast<int>(found);
    }
    if (searchText.empty())
        return static_cast<int>(from);
    // The last position where the search text still fits; no comparison reads past the end.
    const size_t last = text.size() - searchText.size();
    const char16_t first = searchText.front();
    for (size_t i = from; i <= last; ++i) {
        if (AsciiLower(text[i]) != first)
            continue;
        size_t n = 1;
        while (n < searchText.size() && AsciiLower(text[i + n]) == searchText[n])
            ++n;
        if (n == searchText.size())
            return static_cast<int>(i);
    }
    return -1;
}
