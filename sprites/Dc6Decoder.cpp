#include "Dc6Decoder.h"

#include "TextFormat.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {


bool TargetInside(const Image& image, const Dc6FrameTarget& t) {
    return t.width >= 1 && t.height >= 1 && t.left >= 0 && t.top >= 0 && t.left <= image.width - t.width &&
           t.top <= image.height - t.height;
}

// The game's end-of-frame mark: an end-of-line code whose second, third and fourth bytes
// after it are T1, T2, T3. The first byte after the code is never compared. Bytes past the
// end of the file count as no match.
bool TerminatorFollows(std::span<const uint8_t> coded, size_t next, const std::array<uint8_t, 4>& t) {
    if (next > coded.size() || coded.size() - next < 4)
        return false;
    return coded[next + 1] == t[1] && coded[next + 2] == t[2] && coded[next + 3] == t[3];
}

}  // namespace

Dc6DecodeResult DecodeFrameDC6(std::span<const uint8_t> coded, int32_t length,
                               const std::array<uint8_t, 4>& terminators, Image& image,
                               const Dc6FrameTarget& target) {
    Dc6DecodeResult result;
    if (!TargetInside(image, target))
        return result;
    result.painted = true;

    const bool lengthKnown = length > 0;
    const size_t end = lengthKnown ? std::min(static_cast<size_t>(length), coded.size()) : coded.size();
    const size_t width = static_cast<size_t>(target.width);
    int32_t row = target.height - 1;
    uint8_t* line = image.Row(target.top + row) + target.left;
    size_t x = 0;
    size_t p = 0;
    while (row >= 0 && p < end) {
        const uint8_t c = coded[p++];
        if (c == Dc6EndOfLine) {
            ++result.linesEnded;
            if ((!lengthKnown || p + 1 >= end) && TerminatorFollows(coded, p, terminators)) {
                result.terminated = true;
                break;
            }
            if (--row >= 0)
                line = image.Row(target.top + row) + target.left;
            x = 0;
        } else if (c > Dc6EndOfLine) {
            const size_t run = c - Dc6EndOfLine;
            if (run > width - x) {
                x = width;
                ++result.overruns;
            } else {
                x += run;
            }
        } else if (c == 0) {
            ++result.zeroBytes;
        } else {
            // The bytes of a run that do not fit the line are not skipped: they are read as codes.
            const size_t run = c;
            const size_t fits = std::min(run, width - x);
            const size_t copied = std::min(fits, coded.size() - p);
            std::memcpy(line + x, coded.data() + p, copied);
            p += copied;
            x += copied;
            if (copied < fits)
                break;  // the file ends inside the run
            if (fits < run)
                ++result.overruns;
        }
    }
    result.bytesRead = p;
    return result;
}

std::string FrameNotice(int32_t index, const Dc6FrameInfo& frame, const Dc6DecodeResult& result) {
    std::vector<std::string> parts;
    if (frame.storedLength < 1)
        parts.push_back(FormatText("its length field reads %d, so its rows are read from the bytes after its header",
                                   static_cast<int>(frame.storedLength)));
    else if (frame.length < frame.storedLength)
        parts.push_back(FormatText("its %d bytes of coded scanlines run past the end of the file; the %d bytes there "
                                   "are decoded",
                                   static_cast<int>(frame.storedLength), static_cast<int>(frame.length)));
    if (result.zeroBytes > 0)
        parts.push_back(FormatText("%d zero code byte(s) were skipped", static_cast<int>(result.zeroBytes)));
    if (result.overruns > 0)
        parts.push_back(FormatText("%d run(s) past the frame's width were cut at its edge",
                                   static_cast<int>(result.overruns)));
    if (parts.empty())
        return {};
    std::string notice = FormatText("Frame %d: ", static_cast<int>(index));
    for (size_t i = 0; i < parts.size(); ++i)
        notice += (i == 0 ? "" : "; ") + parts[i];
    return notice + ".";
}
