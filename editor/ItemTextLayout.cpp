#include "ItemTextLayout.h"

// The game's text colours, by code character, from the in-game text colour table of
// github.com/Caedendi/D2RMM-Loot-Filter-Extended, Docs/colors.md ("D2R In-Game Text Colors").
// That table lists no colour for code "/", which this table calls white: it takes the white
// of code "0".
const std::array<GameColour, ColourRowCount> GameTextColours = {{
    {255, 85, 85},    // "1" \red;
    {0, 255, 0},      // "2" \green;
    {118, 118, 255},  // "3" \blue;
    {255, 255, 108},  // "9" \yellow;
    {203, 184, 126},  // "4" \gold;
    {211, 198, 132},  // "7" \tan;
    {179, 0, 255},    // ";" \purple;
    {255, 255, 255},  // "/" \white;
    {255, 173, 0},    // "8" \orange;
    {255, 255, 255},  // "0" \grey;
    {113, 113, 113},  // "5" \dgrey;
    {0, 135, 0},      // ":" \dgreen;
    {0, 0, 0},        // "6" \black;
}};

namespace {

constexpr char16_t CodeStart = u'\u00FF';

// The colour row of game code character `code`, or ColourRowCount for a code the table lacks.
size_t ColourRowOfCode(char16_t code) {
    for (size_t row = 0; row < ColourRowCount; ++row)
        if (ColourCodeTable[row].GameCode.back() == code)
            return row;
    return ColourRowCount;
}

// The game starts every line of item text in the plain colour: a colour code holds to the
// end of its line.
ItemTextLine LayOutLine(std::u16string_view line) {
    ItemTextLine runs;
    size_t colour = PlainTextColourRow;
    std::u16string text;
    auto endRun = [&] {
        if (!text.empty())
            runs.push_back({std::move(text), colour});
        text.clear();
    };
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == CodeStart && line.size() - i >= 3 && line[i + 1] == u'c') {
            endRun();
            if (size_t row = ColourRowOfCode(line[i + 2]); row < ColourRowCount)
                colour = row;
            i += 2;
            continue;
        }
        text += line[i];
    }
    endRun();
    return runs;
}

}  // namespace

std::vector<ItemTextLine> LayOutItemText(std::u16string_view value) {
    // What the game will read: tokens as codes, "\n" tokens as line feeds, no carriage returns.
    const std::u16string written = ConvertColourCodes(value, ToGame);
    std::vector<std::u16string_view> lines;
    std::u16string_view rest = written;
    for (size_t end; (end = rest.find(u'\n')) != std::u16string_view::npos; rest.remove_prefix(end + 1))
        lines.push_back(rest.substr(0, end));
    lines.push_back(rest);
    std::vector<ItemTextLine> laidOut;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        laidOut.push_back(LayOutLine(*line));
    return laidOut;
}
