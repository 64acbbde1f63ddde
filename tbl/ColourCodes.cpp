#include "ColourCodes.h"

// Game codes are U+00FF "c" and a code character: what the file's bytes C3 BF 63 decode to.
const std::array<ColourCodeRow, 15> ColourCodeTable = {{
    {u"\\red;", u"\u00FFc1", "&Red"},
    {u"\\green;", u"\u00FFc2", "&Green"},
    {u"\\blue;", u"\u00FFc3", "&Blue"},
    {u"\\yellow;", u"\u00FFc9", "&Yellow"},
    {u"\\gold;", u"\u00FFc4", "G&old"},
    {u"\\tan;", u"\u00FFc7", "&Tan"},
    {u"\\purple;", u"\u00FFc;", "&Purple"},
    {u"\\white;", u"\u00FFc/", "&White"},
    {u"\\orange;", u"\u00FFc8", "&Orange"},
    {u"\\grey;", u"\u00FFc0", "Gr&ay"},
    {u"\\dgrey;", u"\u00FFc5", "&Dark Gray"},
    {u"\\dgreen;", u"\u00FFc:", "Dar&k Green"},
    {u"\\black;", u"\u00FFc6", "Tran&sparent"},
    {u"\\n", u"\n", nullptr},
    {u"\r", u"", nullptr},
}};

namespace {

// Every token starts with a backslash or is a carriage return; every game code starts with U+00FF.
bool IsEscapeStart(char16_t c, ColourDirection direction) {
    return direction == ToGame ? c == u'\\' || c == u'\r' : c == u'\u00FF';
}

}  // namespace

// Applying the rows one after another, each replacing every occurrence of its pattern from the
// start of the text, gives the same result as one pass that tries the rows at each position:
// no two patterns of one direction can overlap (tokens begin with a backslash and hold no
// other; codes begin with U+00FF and hold no other), no replacement holds or forms a pattern
// of a later row, and the carriage return row, which only deletes, comes last.
std::u16string ConvertColourCodes(std::u16string_view text, ColourDirection direction) {
    const size_t rows = direction == ToGame ? ColourCodeTable.size() : ColourRowCount;
    std::u16string result;
    result.reserve(text.size());
    // The text between escapes is copied as it is.
    size_t i = 0;
    while (i < text.size()) {
        size_t stop = i;
        while (stop < text.size() && !IsEscapeStart(text[stop], direction))
            ++stop;
        result.append(text, i, stop - i);
        i = stop;
        if (i == text.size())
            break;
        if (text[i] == u'\r') {  // only a stop in ToGame
            ++i;
            continue;
        }
        const std::u16string_view rest = text.substr(i);
        size_t row = 0;
        for (; row < rows; ++row) {
            const ColourCodeRow& r = ColourCodeTable[row];
            const std::u16string_view pattern = direction == ToGame ? r.Token : r.GameCode;
            if (rest.starts_with(pattern)) {
                result.append(direction == ToGame ? r.GameCode : r.Token);
                i += pattern.size();
                break;
            }
        }
        if (row == rows)
            result.push_back(text[i++]);
    }
    return result;
}

void ConvertColourCodesInPlace(std::u16string& text, ColourDirection direction) {
    for (char16_t c : text)
        if (IsEscapeStart(c, direction)) {
            text = ConvertColourCodes(text, direction);
            return;
        }
}
