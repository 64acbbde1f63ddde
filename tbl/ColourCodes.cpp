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

// Replaces every occurrence of `pattern`, left to right. No replacement of the table can form
// its own row's pattern with the text around it, so this is the same as searching again from
// the start after each replacement, in one pass.
void ReplaceAll(std::u16string& text, std::u16string_view pattern, std::u16string_view replacement) {
    size_t at = text.find(pattern);
    if (at == std::u16string::npos)
        return;
    std::u16string result;
    result.reserve(text.size());
    size_t from = 0;
    while (at != std::u16string::npos) {
        result.append(text, from, at - from);
        result.append(replacement);
        from = at + pattern.size();
        at = text.find(pattern, from);
    }
    result.append(text, from, std::u16string::npos);
    text = std::move(result);
}

}  // namespace

std::u16string ConvertColourCodes(std::u16string_view text, ColourDirection direction) {
    std::u16string result(text);
    // Every token starts with a backslash or is a carriage return; every game code starts with
    // U+00FF. Most values hold neither.
    const std::u16string_view starts = direction == ToGame ? std::u16string_view(u"\\\r") : u"\u00FF";
    if (result.find_first_of(starts) == std::u16string::npos)
        return result;
    const size_t rows = direction == ToGame ? ColourCodeTable.size() : ColourRowCount;
    for (size_t row = 0; row < rows; ++row) {
        const ColourCodeRow& r = ColourCodeTable[row];
        if (direction == ToGame)
            ReplaceAll(result, r.Token, r.GameCode);
        else
            ReplaceAll(result, r.GameCode, r.Token);
    }
    return result;
}
