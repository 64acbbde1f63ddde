#pragma once

#include <string>

// The texts of the small read-only dialogs.

// The index numbers that key list row `row` has in each of the game's string tables.
std::u16string IndexNumbersText(unsigned row);
// The 13 colour tokens, one per line.
std::u16string ColourTokensText();
// A value's lines in reverse order, each ending with a line feed (how the game stacks item text).
std::u16string ItemText(const std::u16string& value);
// "Strindle 1.11u"
std::u16string AboutText();

extern const char16_t* const StrindleVersion;
