#pragma once

#include <array>
#include <string>
#include <string_view>

// Diablo II colours text with the escape U+00FF "c" and a code character (stored in files as
// the UTF-8 bytes C3 BF 63 and that character). The editor shows them as tokens like "\red;".

enum ColourDirection {
    ToGame,    // tokens become game codes, "\n" tokens line feeds, carriage returns go (all rows)
    ToTokens,  // game codes become tokens (colour rows only)
};

struct ColourCodeRow {
    std::u16string_view Token;     // as typed in a value
    std::u16string_view GameCode;  // as held in memory
    const char* MenuText;          // the Colors menu item; null for the two non-colour rows
};

// Applied row by row, in this order: the order matters ("\dgrey;" before "\grey;" would not).
extern const std::array<ColourCodeRow, 15> ColourCodeTable;
constexpr size_t ColourRowCount = 13;  // rows 0 to 12 are colours

std::u16string ConvertColourCodes(std::u16string_view text, ColourDirection direction);

// The same in place; a text with nothing to convert is left as it is, without a copy.
void ConvertColourCodesInPlace(std::u16string& text, ColourDirection direction);
