#include "Dc6Decoder.h"

#include "TextFormat.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t EndOfLine = 0x80;

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

void ReportOverrun(const Dc6Hooks& hooks, size_t offset, Dc6DecodeResult& result) {
    hooks.Notice(FormatText("Span overrun @ %zX\n", offset));
    ++result.notices;
}

}  // namespace

Dc6DecodeResult DecodeFrameDC6(std::span<const uint8_t> coded, int32_t length,
                               const std::array<uint8_t, 4>& terminators, Image& image,
                               const Dc6FrameTarget& target, const Dc6Hooks& hooks) {
    Dc6DecodeResult result;
    if (!TargetInside(image, target))
        return result;
    result.painted = true;
    if (length <= 0)
        return result;

    const size_t end = std::min(static_cast<size_t>(length), coded.size());
    const size_t width = static_cast<size_t>(target.width);
    int32_t row = target.height - 1;
    uint8_t* line = image.Row(target.top + row) + target.left;
    size_t x = 0;
    size_t p = 0;
    while (row >= 0 && p < end) {
        const uint8_t c = coded[p++];
        if (c == EndOfLine) {
            ++result.linesEnded;
            if (TerminatorFollows(coded, p, terminators)) {
                result.terminated = true;
                break;
            }
            if (--row >= 0)
                line = image.Row(target.top + row) + target.left;
            x = 0;
        } else if (c > EndOfLine) {
            const size_t run = c - EndOfLine;
            if (run > width - x) {
                x = width;
                ReportOverrun(hooks, p, result);
            } else {
                x += run;
            }
        } else if (c == 0) {
            hooks.Notice("Found ZERO Byte");
            ++result.notices;
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
                ReportOverrun(hooks, p, result);
        }
    }
    result.bytesRead = p;
    return result;
}
