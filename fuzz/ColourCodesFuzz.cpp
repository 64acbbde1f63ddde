// Any UTF-16 text (the input's bytes taken in little-endian pairs) in both directions. The game
// form holds no carriage return, and without carriage returns in the input (whose removal can
// join a new token) it holds no token either, so tokens made from it turn back into it.
#include "ColourCodes.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));

    const std::u16string game = ConvertColourCodes(text, ToGame);
    if (game.find(u'\r') != std::u16string::npos)
        std::abort();
    const std::u16string tokens = ConvertColourCodes(game, ToTokens);
    if (text.find(u'\r') == std::u16string::npos && ConvertColourCodes(tokens, ToGame) != game)
        std::abort();
    ConvertColourCodes(text, ToTokens);
    return 0;
}
