#include "PaletteFormats.h"

#include "ByteReader.h"
#include "TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr size_t Entries = 256;
constexpr size_t RawSize = 768;
constexpr size_t ActWithTrailerSize = 772;
constexpr size_t Pl2MinimumSize = 1024;

std::string LowerExtension(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t separator = fileName.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return {};
    std::string extension = fileName.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

bool StartsWith(std::span<const uint8_t> bytes, const char* text, size_t at = 0) {
    const size_t length = std::strlen(text);
    return RangeInside(bytes.size(), at, length) && std::memcmp(bytes.data() + at, text, length) == 0;
}

void SetEntry(Palette& bgr, size_t index, uint8_t red, uint8_t green, uint8_t blue) {
    bgr[3 * index] = blue;
    bgr[3 * index + 1] = green;
    bgr[3 * index + 2] = red;
}

// `count` entries of `stride` bytes from `at`, red, green, blue first in each.
Palette ReadRgbEntries(std::span<const uint8_t> bytes, size_t at, size_t stride, size_t count) {
    Palette bgr{};
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = bytes.data() + at + i * stride;
        SetEntry(bgr, i, e[0], e[1], e[2]);
    }
    return bgr;
}

// Splits the text into lines at CR LF, LF or CR.
class LineReader {
public:
    explicit LineReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool Next(std::string& line) {
        if (pos_ >= bytes_.size())
            return false;
        line.clear();
        while (pos_ < bytes_.size() && bytes_[pos_] != '\n' && bytes_[pos_] != '\r')
            line += static_cast<char>(bytes_[pos_++]);
        if (pos_ < bytes_.size() && bytes_[pos_] == '\r')
            ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n')
            ++pos_;
        ++number_;
        return true;
    }
    int Number() const { return number_; }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    int number_ = 0;
};

// Reads whitespace-separated whole numbers from 0 to `maximum`; fails on anything else.
bool ReadNumbers(const std::string& line, int maximum, int* values, size_t wanted) {
    const char* p = line.data();
    const char* end = p + line.size();
    for (size_t i = 0; i < wanted; ++i) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        const auto [next, ec] = std::from_chars(p, end, values[i]);
        if (ec != std::errc() || values[i] < 0 || values[i] > maximum)
            return false;
        p = next;
    }
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    return p == end;
}

bool ParseJasc(std::span<const uint8_t> bytes, Palette& palette, size_t& colours, std::string& problem) {
    LineReader lines(bytes);
    std::string line;
    lines.Next(line);  // "JASC-PAL"
    if (!lines.Next(line) || line != "0100") {
        problem = "JASC-PAL text: line 2 is not the version \"0100\"";
        return false;
    }
    int count = 0;
    if (!lines.Next(line) || !ReadNumbers(line, static_cast<int>(Entries), &count, 1) || count < 1) {
        problem = "JASC-PAL text: line 3 is not a colour count from 1 to 256";
        return false;
    }
    Palette bgr{};
    for (int i = 0; i < count; ++i) {
        int rgb[3] = {};
        if (!lines.Next(line)) {
            problem = FormatText("JASC-PAL text: it ends after %d of its %d colours", i, count);
            return false;
        }
        if (!ReadNumbers(line, 255, rgb, 3)) {
            problem = FormatText("JASC-PAL text: line %d is not three numbers from 0 to 255 (red, green, blue)",
                                 lines.Number());
            return false;
        }
        SetEntry(bgr, static_cast<size_t>(i), static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]),
                 static_cast<uint8_t>(rgb[2]));
    }
    palette = bgr;
    colours = static_cast<size_t>(count);
    return true;
}

// RIFF "PAL ": chunks of a four-letter name and a 32-bit size, padded to even sizes; the
// "data" chunk holds a version word, an entry count word and the entries.
bool ParseRiff(std::span<const uint8_t> bytes, Palette& palette, size_t& colours, std::string& problem) {
    for (size_t at = 12; RangeInside(bytes.size(), at, 8);) {
        const uint32_t size = ByteReader(bytes, at + 4).U32LE();
        const size_t body = at + 8;
        if (!RangeInside(bytes.size(), body, size)) {
            problem = FormatText("RIFF PAL file: its chunk at 0x%zX runs past the end of the file", at);
            return false;
        }
        if (StartsWith(bytes, "data", at)) {
            if (size < 4) {
                problem = "RIFF PAL file: its data chunk is too short to hold a colour count";
                return false;
            }
            const size_t count = static_cast<size_t>(bytes[body + 2]) | static_cast<size_t>(bytes[body + 3]) << 8;
            if (count < 1 || count > Entries || 4 * count > size - 4) {
                problem = FormatText("RIFF PAL file: its data chunk does not hold the %zu colours it counts "
                                     "(1 to 256 fit a palette)", count);
                return false;
            }
            palette = ReadRgbEntries(bytes, body + 4, 4, count);
            colours = count;
            return true;
        }
        at = body + size + (size & 1);
    }
    problem = "RIFF PAL file: it has no data chunk";
    return false;
}

}  // namespace

const char* PaletteFormatName(PaletteFormat format) {
    switch (format) {
    case PaletteFormat::GameBgr:
        return "768-byte blue, green, red palette";
    case PaletteFormat::Pl2:
        return ".pl2 palette";
    case PaletteFormat::Act:
        return ".act palette (red, green, blue)";
    case PaletteFormat::JascPal:
        return "JASC-PAL text";
    case PaletteFormat::RiffPal:
        return "RIFF PAL file";
    }
    return "palette";
}

bool ParsePalette(std::span<const uint8_t> bytes, const std::string& fileName, Palette& palette,
                  PaletteFormat& format, size_t& colours, std::string& problem) {
    if (StartsWith(bytes, "JASC-PAL")) {
        format = PaletteFormat::JascPal;
        return ParseJasc(bytes, palette, colours, problem);
    }
    if (StartsWith(bytes, "RIFF") && StartsWith(bytes, "PAL ", 8)) {
        format = PaletteFormat::RiffPal;
        return ParseRiff(bytes, palette, colours, problem);
    }
    colours = Entries;
    const std::string extension = LowerExtension(fileName);
    if (extension == ".act" && (bytes.size() == RawSize || bytes.size() == ActWithTrailerSize)) {
        format = PaletteFormat::Act;
        palette = ReadRgbEntries(bytes, 0, 3, Entries);
        return true;
    }
    if (extension == ".pl2" && bytes.size() >= Pl2MinimumSize) {
        format = PaletteFormat::Pl2;
        palette = ReadRgbEntries(bytes, 0, 4, Entries);
        return true;
    }
    if (bytes.size() == RawSize) {
        format = PaletteFormat::GameBgr;
        std::copy(bytes.begin(), bytes.end(), palette.begin());
        return true;
    }
    if (extension == ".act")
        problem = FormatText("a .act palette is 768 or 772 bytes long, this file is %zu bytes", bytes.size());
    else if (extension == ".pl2")
        problem = FormatText("a .pl2 palette is at least 1,024 bytes long (or 768 bytes of blue, green, red), "
                             "this file is %zu bytes", bytes.size());
    else
        problem = FormatText("not a palette: %zu bytes, neither JASC-PAL text nor a RIFF PAL file, and not the "
                             "768 bytes of a raw palette", bytes.size());
    return false;
}
