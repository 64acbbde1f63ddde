// The palette reader on arbitrary bytes, under each extension that changes how a file is
// told apart: it takes a palette or says why not, and a palette it takes gives 1 to 256
// colours.
#include "PaletteFormats.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const char* name : {"p.pal", "p.act", "p.pl2", "p.dat"}) {
        Palette palette{};
        PaletteFormat format = PaletteFormat::GameBgr;
        size_t colours = 0;
        std::string problem;
        const bool taken = ParsePalette(std::span(data, size), name, palette, format, colours, problem);
        if (taken ? colours < 1 || colours > 256 : problem.empty())
            std::abort();
    }
    return 0;
}
