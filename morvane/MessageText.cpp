#include "MessageText.h"

#include <cwctype>

namespace {

constexpr wchar_t Ellipsis[] = L"...";
constexpr size_t EllipsisLength = 3;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// `run` cut to its first and last characters around "...", never splitting a surrogate pair.
std::wstring ShortenRun(const std::wstring& run, size_t maxRun) {
    size_t head = (maxRun - EllipsisLength) / 2;
    size_t tailStart = run.size() - (maxRun - EllipsisLength - head);
    if (head > 0 && IsHighSurrogate(run[head - 1]))
        --head;
    if (tailStart < run.size() && IsLowSurrogate(run[tailStart]))
        ++tailStart;
    return run.substr(0, head) + Ellipsis + run.substr(tailStart);
}

}  // namespace

std::wstring ShortenLongRuns(const std::wstring& text, size_t maxRun) {
    if (maxRun <= EllipsisLength + 2)
        return text;
    std::wstring shortened;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !std::iswspace(text[end]))
            ++end;
        const std::wstring run = text.substr(start, end - start);
        shortened += run.size() > maxRun ? ShortenRun(run, maxRun) : run;
        if (end < text.size())
            shortened += text[end++];
        start = end;
    }
    return shortened;
}
