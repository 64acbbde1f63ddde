#include "Dc6Report.h"

#include "ByteReader.h"
#include "Dc6Decoder.h"
#include "Dc6Reader.h"
#include "Image.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::string Hex(size_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%zX", value);
    return text;
}

std::string ByteList(const std::array<uint8_t, 4>& bytes) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

// One line for the message texts, which hold line feeds: each run of them becomes a space.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

// Decodes the frame on its own and reports what the coded data hold.
void DescribeDecoding(std::span<const uint8_t> file, const Dc6FileInfo& info, const Dc6FrameInfo& frame,
                      std::ostream& out) {
    std::vector<std::string> notices;
    const Dc6Hooks hooks{nullptr, [&notices](const std::string& text) { notices.push_back(OneLine(text)); }};
    Image image;
    if (!MakeImage(frame.width, frame.height, info.Background(), image)) {
        out << "    too large to decode here\n";
        return;
    }
    const Dc6DecodeResult result = DecodeFrameDC6(file.subspan(frame.dataPosition), frame.length, info.terminators,
                                                  image, {0, 0, frame.width, frame.height}, hooks);
    out << "    " << result.linesEnded << " of " << frame.height << " lines coded"
        << (result.terminated ? ", ended by the terminator bytes" : "") << '\n';
    if (result.linesEnded < frame.height && frame.length > 0)
        out << "    problem: the coded data end " << frame.height - result.linesEnded
            << " line(s) short of the height; the top rows stay background\n";
    const size_t length = frame.length > 0 ? static_cast<size_t>(frame.length) : 0;
    if (!result.terminated && result.bytesRead < length)
        out << "    note: " << length - result.bytesRead << " coded byte(s) after the top line are not used\n";
    if (result.bytesRead > length)
        out << "    problem: a literal run reads " << result.bytesRead - length << " byte(s) past the coded data\n";
    for (const std::string& notice : notices)
        out << "    problem: " << notice << '\n';
}

}  // namespace

bool DescribeDc6(const std::string& name, std::span<const uint8_t> file, std::ostream& out) {
    out << name << ": " << file.size() << " bytes\n";
    std::string headerError;
    const Dc6Hooks hooks{[&headerError](const std::string& text) { headerError = OneLine(text); }, nullptr};
    Dc6FileInfo info;
    if (!GetFileInfoDC6(file, hooks, info, Dc6FrameScope::AllFrames)) {
        out << "  problem: " << headerError << '\n';
        return false;
    }
    out << "  version 6, " << info.directions << " direction(s), " << info.framesPerDirection
        << " frame(s) per direction, terminators " << ByteList(info.terminators) << '\n';
    if (info.framesPerDirection > MaxFramesPerDirection)
        out << "  note: more than " << MaxFramesPerDirection
            << " frames per direction: Morvane Convert refuses the file; dc6tool topcx --all-frames converts it\n";
    else if (info.directions > 1)
        out << "  note: " << info.directions
            << " directions: only the first is converted unless dc6tool topcx --all-frames is used\n";

    const size_t tableEnd = Dc6HeaderSize + 4 * info.framePositions.size();
    size_t dataEnd = tableEnd;
    for (int32_t i = 0; i < info.FrameCount(); ++i) {
        Dc6FrameInfo frame;
        std::string problem;
        const bool usable = GetFrameInfoDC6(file, info, i, frame, problem);
        out << "  frame " << i << " at " << Hex(frame.headerPosition);
        if (!RangeInside(file.size(), frame.headerPosition, Dc6FrameHeaderSize)) {
            out << ": " << problem << '\n';
            continue;
        }
        out << ": " << frame.width << " x " << frame.height << ", offsets (" << frame.offsetX << ", "
            << frame.offsetY << "), " << frame.length << " coded bytes at " << Hex(frame.dataPosition) << '\n';
        if (frame.headerPosition < tableEnd)
            out << "    problem: the header lies inside the file header and frame table\n";
        if (!usable) {
            out << "    problem: " << problem << "; the frame is skipped\n";
            continue;
        }
        dataEnd = std::max(dataEnd, frame.dataPosition + static_cast<size_t>(std::max<int32_t>(frame.length, 0)));
        DescribeDecoding(file, info, frame, out);
    }
    if (file.size() > dataEnd)
        out << "  " << file.size() - dataEnd << " byte(s) after the last frame's coded data\n";
    return true;
}
