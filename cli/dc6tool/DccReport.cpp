#include "DccReport.h"

#include "Dc6Reader.h"
#include "Dc6Report.h"
#include "DccDecoder.h"
#include "DccReader.h"

namespace {

// Unread bits a sound direction may leave: the pixel codes are padded to a whole byte.
constexpr uint64_t PaddingBits = 7;

void DescribeStreamsLeft(const DccStreamsLeft& left, std::ostream& out) {
    const std::pair<const char*, uint64_t> streams[] = {{"equal cells", left.equalCells},
                                                        {"pixel masks", left.pixelMask},
                                                        {"encoding types", left.encodingType},
                                                        {"raw pixels", left.rawPixels}};
    bool exact = left.pixelCodes <= PaddingBits;
    for (const auto& [stream, bits] : streams) {
        if (bits > 0)
            out << "    note: " << bits << " bit(s) of the " << stream << " are not used\n";
        exact = exact && bits == 0;
    }
    if (left.pixelCodes > PaddingBits)
        out << "    note: " << left.pixelCodes << " bit(s) of the pixel codes are not used\n";
    if (exact)
        out << "    its streams decode to the bit\n";
}

}  // namespace

bool DescribeDcc(const std::string& name, std::span<const uint8_t> file, std::ostream& out) {
    out << name << ": " << file.size() << " bytes\n";
    DccFileInfo info;
    std::string problem;
    if (!GetFileInfoDcc(file, info, problem)) {
        out << "  problem: " << problem << '\n';
        return false;
    }
    out << "  DCC version 6, " << info.directions << " direction(s), " << info.framesPerDirection
        << " frame(s) per direction, tag " << info.tag << ", decoded size " << info.decodedSize << '\n';
    DescribeConvertedScope(info.directions, info.framesPerDirection, out);
    bool sound = true;
    for (size_t d = 0; d < info.directionHeaders.size(); ++d) {
        const DccDirection& direction = info.directionHeaders[d];
        out << "  direction " << d << " at 0x" << std::hex << std::uppercase << direction.position << std::dec
            << ": " << direction.box.width << " x " << direction.box.height << " pixels from (" << direction.box.left
            << ", " << direction.box.top << "), " << direction.pixelValueCount << " colour(s)"
            << (direction.HasEqualCells() ? ", equal cells coded" : "")
            << (direction.HasRawPixels() ? ", raw pixels coded" : "") << '\n';
        for (size_t f = 0; f < direction.frames.size(); ++f) {
            const DccFrameHeader& frame = direction.frames[f];
            out << "    frame " << f << ": " << frame.box.width << " x " << frame.box.height << ", offsets ("
                << frame.OffsetX() << ", " << frame.OffsetY() << ")" << (frame.bottomUp ? ", stored bottom-up" : "")
                << '\n';
        }
        std::vector<Image> frames;
        DccStreamsLeft left;
        if (!DecodeDccDirection(file, direction, frames, problem, &left)) {
            out << "    problem: " << problem << '\n';
            sound = false;
            continue;
        }
        DescribeStreamsLeft(left, out);
    }
    return sound;
}
