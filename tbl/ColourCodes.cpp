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

// Applying the rows one after another, each replacing every occurrence of its pattern from the
// start of the text, gives the same result as one pass that tries the rows at each position:
// no two patterns of one direction can overlap (tokens begin with a backslash and hold no
// other; codes begin with U+00FF and hold no other), no replacement holds or forms a pattern
// of a later row, and the carriage return row, which only deletes, comes last.
std::u16string ConvertInOnePass(std::u16string_view text, ColourDirection direction) {
    const size_t rows = direction == ToGame ? ColourCodeTable.size() : ColourRowCount;
    const char16_t lead = direction == ToGame ? u'\\' : u'\u00FF';
    std::u16string result;
    result.reserve(text.size() + text.size() / 8);
    size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == u'\r' && direction == ToGame) {
            ++i;
            continue;
        }
        if (c == lead) {
            const std::u16string_view rest = text.substr(i);
            size_t row = 0;
            for (; row < rows; ++row) {
                const ColourCodeRow& r = ColourCodeTable[row];
                const std::u16string_view pattern = direction == ToGame ? r.Token : r.GameCode;
                if (!pattern.empty() && rest.starts_with(pattern)) {
                    result.append(direction == ToGame ? r.GameCode : r.Token);
                    i += pattern.size();
                    break;
                }
            }
            if (row < rows)
                continue;
        }
        result.push_back(c);
        ++i;
    }
    return result;
}

}  // namespace

std::u16string ConvertColourCodes(std::u16string_view text, ColourDirection direction) {
    // Every token starts with a backslash or is a carriage return; every game code starts with
    // U+00FF. Most values hold neither.
    const std::u16string_view starts = direction == ToGame ? std::u16string_view(u"\\\r") : u"\u00FF";
    if (text.find_first_of(starts) == std::u16string_view::npos)
        return std::u16string(text);
    return ConvertInOnePass(text, direction);
}
