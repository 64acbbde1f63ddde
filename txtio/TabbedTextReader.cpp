#include "TabbedTextReader.h"

#include "TabbedEscapes.h"
#include "TabbedTextFile.h"
#include "Utf.h"

#include <algorithm>
#include <optional>

namespace {

std::string_view AsText(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The lines of a file as text mode reads them.
class TextModeLines {
public:
    TextModeLines(std::string_view bytes, TabbedEncoding encoding) : rest_(bytes) {
        if (encoding == TabbedEncoding::Utf8) {
            if (rest_.starts_with("\xEF\xBB\xBF"))
                rest_.remove_prefix(3);
        } else if (const size_t end = rest_.find('\x1A'); end != std::string_view::npos) {
            rest_ = rest_.substr(0, end);
        }
    }

    // The next line without its LF and without the CR just before it; false after the last
    // line, which is the text after the last LF (empty when the file ends with a line end).
    bool Next(std::string_view& line) {
        if (done_)
            return false;
        const size_t lf = rest_.find('\n');
        if (lf == std::string_view::npos) {
            line = rest_;
            done_ = true;
            return true;
        }
        line = rest_.substr(0, lf);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        rest_.remove_prefix(lf + 1);
        return true;
    }

private:
    std::string_view rest_;
    bool done_ = false;
};

// Field `column` of a line (the text between the column-th TAB and the next), if the line has it.
std::optional<std::string_view> FieldAt(std::string_view line, size_t column) {
    size_t start = 0;
    for (size_t k = 0; k < column; ++k) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos)
            return std::nullopt;
        start = tab + 1;
    }
    const size_t tab = line.find('\t', start);
    return line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
}

std::u16string DecodeField(std::string_view bytes, TabbedEncoding encoding) {
    if (encoding == TabbedEncoding::Utf8)
        return bytes.find('\\') == std::string_view::npos ? Utf8ToUtf16(bytes) : Utf8ToUtf16(Unescaped(bytes));
    std::u16string text(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        text[i] = static_cast<unsigned char>(bytes[i]);
    return text;
}

}  // namespace

std::vector<std::u16string> ParseTabbedHeader(std::string_view bytes, TabbedEncoding encoding) {
    TextModeLines lines(bytes, encoding);
    std::string_view header;
    lines.Next(header);
    std::vector<std::u16string> captions;
    size_t start = 0;
    for (;;) {
        const size_t tab = header.find('\t', start);
        captions.push_back(DecodeField(header.substr(start, tab - start), encoding));
        if (tab == std::string_view::npos)
            return captions;
        start = tab + 1;
    }
}

// What the file holds beyond the lines that are read.
void CountFileQuirks(std::string_view bytes, TabbedEncoding encoding, TabbedRowCounts& counts) {
    if (encoding == TabbedEncoding::Utf8)
        return;
    counts.ByteOrderMark = bytes.starts_with("\xEF\xBB\xBF");
    if (const size_t end = bytes.find('\x1A'); end != std::string_view::npos) {
        const std::string_view after = bytes.substr(end + 1);
        counts.AfterCtrlZ = static_cast<size_t>(std::count(after.begin(), after.end(), '\n')) +
                            (after.empty() || after.ends_with('\n') ? 0 : 1);
        bytes = bytes.substr(0, end);
    }
    counts.CrOnlyLineEnds = bytes.find('\r') != std::string_view::npos && bytes.find('\n') == std::string_view::npos;
}

size_t ParseTabbedRows(std::string_view bytes, size_t keyColumn, size_t valueColumn,
                       TabbedEncoding encoding, std::vector<std::u16string>& keys,
                       std::vector<std::u16string>& values, TabbedRowCounts* counts) {
    TabbedRowCounts found;
    CountFileQuirks(bytes, encoding, found);
    TextModeLines lines(bytes, encoding);
    std::string_view line;
    lines.Next(line);  // the header is never data
    while (lines.Next(line)) {
        const std::optional<std::string_view> key = FieldAt(line, keyColumn);
        if (!key || key->empty()) {
            found.WithoutKey += line.empty() ? 0 : 1;
            continue;
        }
        const std::optional<std::string_view> value = FieldAt(line, valueColumn);
        if (!value) {
            ++found.WithoutValue;
            continue;
        }
        keys.push_back(DecodeField(*key, encoding));
        values.push_back(DecodeField(*value, encoding));
        ++found.Taken;
    }
    if (counts)
        *counts = found;
    return found.Taken;
}

Result ReadTabbedHeader(const std::u16string& path, std::vector<std::u16string>& captions,
                        TabbedEncoding encoding) {
    std::vector<uint8_t> bytes;
    if (Result read = ReadTabbedFile(path, bytes); !read)
        return read;
    captions = ParseTabbedHeader(AsText(bytes), encoding);
    return Result::Success();
}

Result ReadTabbedRows(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                      std::vector<std::u16string>& keys, std::vector<std::u16string>& values,
                      TabbedEncoding encoding, TabbedRowCounts* counts) {
    std::vector<uint8_t> bytes;
    if (Result read = ReadTabbedFile(path, bytes); !read)
        return read;
    ParseTabbedRows(AsText(bytes), keyColumn, valueColumn, encoding, keys, values, counts);
    return Result::Success();
}
