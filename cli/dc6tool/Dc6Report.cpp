#include "Dc6Report.h"

#include "ByteReader.h"
#include "Dc6Decoder.h"
#include "Dc6Reader.h"
#include "Image.h"
#include "MessageLine.h"
#include "MessageText.h"

#include <algorithm>
#include <cstdio>

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

// End-of-line codes in the coded data, whether or not the decoder gets to them: the game's
// terminator test usually ends a frame one code before its last.
int32_t CountEndOfLineCodes(std::span<const uint8_t> coded, size_t length) {
    int32_t lines = 0;
    for (size_t p = 0; p < length && p < coded.size();) {
        const uint8_t c = coded[p++];
        if (c == 0x80)
            ++lines;
        else if (c < 0x80)
            p += c;
    }
    return lines;
}

// Decodes the frame on its own and reports what the coded data hold. Returns false when it
// reported a problem.
bool DescribeDecoding(std::span<const uint8_t> file, const Dc6FileInfo& info, int32_t index,
                      const Dc6FrameInfo& frame, std::ostream& out) {
    Image image;
    if (!MakeImage(frame.width, frame.height, info.Background(), image)) {
        out << "    too large to decode here\n";
        return true;
    }
    const std::span<const uint8_t> coded = file.subspan(frame.dataPosition);
    const Dc6DecodeResult result =
        DecodeFrameDC6(coded, frame.length, info.terminators, image, {0, 0, frame.width, frame.height});
    // With a damaged length field the bytes the decoder read stand for the coded data.
    const size_t length = frame.length > 0 ? static_cast<size_t>(frame.length) : result.bytesRead;
    const int32_t lines = CountEndOfLineCodes(coded, length);
    bool sound = true;
    out << "    " << lines << " of " << frame.height << " lines coded"
        << (result.terminated ? ", ended by the terminator bytes" : "") << '\n';
    if (lines < frame.height && length > 0) {
        out << "    problem: the coded data end " << frame.height - lines
            << " line(s) short of the height; the top rows stay background\n";
        sound = false;
    }
    if (!result.terminated && result.bytesRead < length)
        out << "    note: " << length - result.bytesRead << " coded byte(s) after the top line are not used\n";
    if (result.bytesRead > length) {
        out << "    problem: a literal run reads " << result.bytesRead - length << " byte(s) past the coded data\n";
        sound = false;
    }
    const std::string notice = FrameNotice(index, frame, result);
    if (!notice.empty()) {
        out << "    problem: " << notice << '\n';
        sound = false;
    }
    return sound;
}

}  // namespace

void DescribeConvertedScope(int32_t directions, int32_t framesPerDirection, std::ostream& out) {
    if (framesPerDirection > MaxFramesPerDirection)
        out << "  note: more than " << MaxFramesPerDirection
            << " frames per direction: Morvane Convert and dc6tool topcx refuse the file; topcx --all-frames converts it\n";
    else if (directions > 1)
        out << "  note: " << directions
            << " directions: only the first is converted unless dc6tool topcx --all-frames is used\n";
}

bool DescribeDc6(const std::string& name, std::span<const uint8_t> file, std::ostream& out) {
    out << name << ": " << file.size() << " bytes\n";
    std::string headerError;
    const Dc6Hooks hooks{[&headerError](const std::string& text) { headerError = MessageLine(FirstParagraph(text)); }, nullptr};
    Dc6FileInfo info;
    if (!GetFileInfoDC6(file, hooks, info, Dc6FrameScope::AllFrames)) {
        out << "  problem: " << headerError << '\n';
        return false;
    }
    bool sound = true;
    out << "  version 6, " << info.directions << " direction(s), " << info.framesPerDirection
        << " frame(s) per direction, terminators " << ByteList(info.terminators) << '\n';
    DescribeConvertedScope(info.directions, info.framesPerDirection, out);

    const size_t tableEnd = Dc6HeaderSize + 4 * info.framePositions.size();
    size_t dataEnd = tableEnd;
    for (int32_t i = 0; i < info.FrameCount(); ++i) {
        Dc6FrameInfo frame;
        std::string problem;
        const bool usable = GetFrameInfoDC6(file, info, i, frame, problem);
        out << "  frame " << i << " at " << Hex(frame.headerPosition);
        if (!RangeInside(file.size(), frame.headerPosition, Dc6FrameHeaderSize)) {
            out << ": " << problem << '\n';
            sound = false;
            continue;
        }
        out << ": " << frame.width << " x " << frame.height << ", offsets (" << frame.offsetX << ", "
            << frame.offsetY << "), " << frame.length << " coded bytes at " << Hex(frame.dataPosition) << '\n';
        if (frame.headerPosition < tableEnd) {
            out << "    problem: the header lies inside the file header and frame table\n";
            sound = false;
        }
        if (!usable) {
            out << "    problem: " << problem << "; the frame is skipped\n";
            sound = false;
            continue;
        }
        dataEnd = std::max(dataEnd, frame.dataPosition + static_cast<size_t>(std::max<int32_t>(frame.length, 0)));
        sound = DescribeDecoding(file, info, i, frame, out) && sound;
    }
    if (file.size() > dataEnd)
        out << "  " << file.size() - dataEnd << " byte(s) after the last frame's coded data\n";
    return sound;
}
