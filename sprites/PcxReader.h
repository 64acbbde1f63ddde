#pragma once

#include "Image.h"
#include "Palette.h"

#include <cstdint>
#include <span>
#include <string>

// Reads an 8-bit, one-plane, run-length coded PCX file with a 256-colour palette at its end
// (what topcx and paint programs write for palette images). `rgbPalette` receives the
// palette, red, green, blue per entry. Fails with a reason on any other kind of PCX.
bool DecodePcx(std::span<const uint8_t> pcx, Image& image, Palette& rgbPalette, std::string& problem);

// Whether the bytes start as a PCX header does: the maker byte 10, a version up to 5 and an
// encoding of 0 or 1.
bool LooksLikePcx(std::span<const uint8_t> bytes);
