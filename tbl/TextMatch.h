#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Matching of the search text: case is ignored for the letters A to Z only, so that positions
// never move and no copy of the searched text is made.

// `c` mapped to lower case when it is A to Z.
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// `text` with A to Z mapped to a to z; every other character unchanged.
std::u16string AsciiLowerCase(std::u16string_view text);

// Position of the first occurrence of `searchText` in `text` at or after `from`, or -1.
// With `ignoreCase`, `searchText` must already be lower-cased (AsciiLowerCase) and `text` is
// compared as if it were. An empty `searchText` occurs at `from`.
int FindSearchText(std::u16string_view text, std::u16string_view searchText, bool ignoreCase, size_t from = 0);
