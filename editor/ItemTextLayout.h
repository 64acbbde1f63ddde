#pragma once

#include "ColourCodes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How the game lays out a value as item text: the lines of the value as it will be written,
// the last line on top, each line in runs of one text colour. Platform-free; the preview
// window draws the result.

struct GameColour {
    uint8_t Red, Green, Blue;
    bool operator==(const GameColour&) const = default;
};

// The game's text colour of each colour row of ColourCodeTable (rows 0 to 12).
extern const std::array<GameColour, ColourRowCount> GameTextColours;
// Each line starts in the game's plain text colour, that of code "0" ("\grey;", row 9).
constexpr size_t PlainTextColourRow = 9;

struct ColourRun {
    std::u16string Text;
    size_t ColourRow;  // a row of ColourCodeTable, 0 to 12
    bool operator==(const ColourRun&) const = default;
};
using ItemTextLine = std::vector<ColourRun>;  // no runs: an empty line

// `value` as held in the document (tokens or game codes) laid out as the game draws it, the top
// line first. Codes of colours outside the table are taken out and leave the colour as it is.
std::vector<ItemTextLine> LayOutItemText(std::u16string_view value);
