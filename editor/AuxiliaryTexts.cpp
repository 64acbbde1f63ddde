#include "AuxiliaryTexts.h"

#include "ColourCodes.h"

#include <cstdio>

const char16_t* const StrindleVersion = u"1.11u";

namespace {

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

}  // namespace

std::u16string IndexNumbersText(unsigned row) {
    struct Line {
        const char* Format;
        unsigned Base;
    };
    // Each table of the game numbers its strings from its own base.
    static const Line lines[] = {
        {"String.tbl:\t\t%.5u\t%.4Xh\n", 0},
        {"Patchstring.tbl:\t\t%u\t%Xh\n", 10000},
        {"Expansionstring.tbl:\t%u\t%Xh\n", 20000},
        {"CustomString1.tbl:\t\t%u\t%Xh\n", 30000},
        {"CustomString2.tbl:\t\t%u\t%Xh\n", 40000},
        {"CustomString3.tbl:\t\t%u\t%Xh", 50000},
    };
    std::u16string text;
    for (const Line& line : lines) {
        char buffer[64];
        unsigned number = row + line.Base;
        std::snprintf(buffer, sizeof buffer, line.Format, number, number);
        text += Ascii(buffer);
    }
    return text;
}

std::u16string ColourTokensText() {
    std::u16string text;
    for (size_t row = 0; row < ColourRowCount; ++row) {
        text += ColourCodeTable[row].Token;
        text += u'\n';
    }
    return text;
}

std::u16string ItemText(const std::u16string& value) {
    std::u16string text;
    size_t start = 0;
    for (;;) {
        size_t end = value.find(u'\n', start);
        std::u16string line = value.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
        text = line + u'\n' + text;
        if (end == std::u16string::npos)
            break;
        start = end + 1;
    }
    return text;
}

std::u16string AboutText() { return u"Strindle " + std::u16string(StrindleVersion); }
