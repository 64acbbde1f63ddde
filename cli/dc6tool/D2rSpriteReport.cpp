#include "D2rSpriteReport.h"

#include "D2rSprite.h"

bool DescribeD2rSprite(const std::string& name, std::span<const uint8_t> file, std::ostream& out) {
    out << name << ": " << file.size() << " bytes\n";
    D2rSpriteHeader header;
    std::string problem;
    if (!ReadD2rSpriteHeader(file, header, problem)) {
        out << "  problem: " << problem << '\n';
        return false;
    }
    out << "  Diablo II: Resurrected sprite, version " << header.version << ", " << header.frameCount
        << " frame(s) of " << header.frameWidth << " x " << header.height << " pixels in a strip of "
        << header.stripWidth << " x " << header.height << '\n';
    for (uint32_t i = 0; i < header.frameCount; ++i)
        out << "  frame " << i << ": columns " << i * header.frameWidth << " to "
            << (i + 1) * header.frameWidth - 1 << '\n';
    if (header.unknown != 0)
        out << "  note: the 32 bits at 16 hold " << header.unknown << " (0 in the game's files)\n";
    if (!header.zeroTail)
        out << "  note: bytes 24 to 39 are not all zero (they are in the game's files)\n";
    const uint32_t framesEnd = header.frameCount * header.frameWidth;
    if (framesEnd < header.stripWidth)
        out << "  note: columns " << framesEnd << " to " << header.stripWidth - 1
            << " of the strip lie right of the last frame and are not read\n";
    const size_t pixelsEnd = D2rSpriteHeaderSize + header.PixelBytes();
    if (file.size() > pixelsEnd)
        out << "  note: " << file.size() - pixelsEnd << " byte(s) after the pixels are not read\n";
    return true;
}
