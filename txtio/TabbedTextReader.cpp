#include "TabbedTextReader.h"

#include "TabbedEscapes.h"
#include "TabbedTextFile.h"
#include "Utf.h"

#include <algorithm>
#include <optional>
#include <span>

namespace {

std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The lines of a file as text mode reads them, from its bytes given piece by piece and cut
// anywhere: only a line that a piece leaves unfinished is held until the next piece. Also
// notes, for a one-byte file, what it holds that the lines do not show.
class TextModeLines {
public:
    explicit TextModeLines(TabbedEncoding encoding) : encoding_(encoding) {}

    // Hands `onLine` (bool(std::string_view)) every line that `piece` finishes, without its LF and
    // without the CR just before it; false, reading nothing more, once `onLine` returns false.
    template <typename OnLine>
    bool Feed(std::string_view piece, OnLine&& onLine) {
        if (stopped_)
            return false;
        if (ended_) {
            CountAfterEnd(piece);
            return true;
        }
        if (encoding_ == TabbedEncoding::OneBytePerCharacter) {
            if (const size_t end = piece.find('\x1A'); end != std::string_view::npos) {
                CountAfterEnd(piece.substr(end + 1));
                piece = piece.substr(0, end);
                ended_ = true;
            }
            sawCr_ = sawCr_ || piece.find('\r') != std::string_view::npos;
        }
        for (size_t lf = piece.find('\n'); lf != std::string_view::npos; lf = piece.find('\n')) {
            sawLf_ = true;
            std::string_view line = piece.substr(0, lf);
            if (!pending_.empty())
                line = pending_.append(line);
            piece.remove_prefix(lf + 1);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            const bool more = Deliver(line, onLine);
            pending_.clear();
            if (!more)
                return false;
        }
        pending_.append(piece);
        return true;
    }

    // The last line: the text after the last LF (a CR at its end stays), empty when the file
    // ends with a line end.
    template <typename OnLine>
    void Finish(OnLine&& onLine) {
        if (!stopped_)
            Deliver(pending_, onLine);
    }

    void NoteQuirks(TabbedRowCounts& counts) const {
        if (encoding_ == TabbedEncoding::Utf8)
            return;
        counts.ByteOrderMark = startsWithMark_;
        counts.AfterCtrlZ = linesAfterEnd_ + (afterEndUnfinished_ ? 1 : 0);
        counts.CrOnlyLineEnds = sawCr_ && !sawLf_;
    }

private:
    template <typename OnLine>
    bool Deliver(std::string_view line, OnLine& onLine) {
        if (firstLine_) {
            firstLine_ = false;
            startsWithMark_ = line.starts_with(ByteOrderMark);
            if (encoding_ == TabbedEncoding::Utf8 && startsWithMark_)
                line.remove_prefix(ByteOrderMark.size());
        }
        stopped_ = !onLine(line);
        return !stopped_;
    }

    // Bytes after a Ctrl+Z are not text, but their lines are counted.
    void CountAfterEnd(std::string_view bytes) {
        if (bytes.empty())
            return;
        linesAfterEnd_ += static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
        afterEndUnfinished_ = bytes.back() != '\n';
    }

    TabbedEncoding encoding_;
    std::string pending_;  // the start of a line that the next piece finishes
    bool firstLine_ = true;
    bool stopped_ = false;
    bool ended_ = false;   // a Ctrl+Z ended the text
    bool startsWithMark_ = false;
    bool sawCr_ = false;
    bool sawLf_ = false;
    size_t linesAfterEnd_ = 0;
    bool afterEndUnfinished_ = false;  // the bytes after a Ctrl+Z end in a line without LF
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

namespace {

// The fields of line 1.
std::vector<std::u16string> HeaderFields(std::string_view header, TabbedEncoding encoding) {
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

// Keeps the fields of the first line handed to it, and stops there.
struct HeaderTaker {
    std::vector<std::u16string>& Captions;
    TabbedEncoding Encoding;

    bool operator()(std::string_view header) const {
        Captions = HeaderFields(header, Encoding);
        return false;
    }
};

// Takes the rows of the lines handed to it, up to `maxRows`; at a row beyond those it stops.
class RowTaker {
public:
    RowTaker(size_t keyColumn, size_t valueColumn, TabbedEncoding encoding, std::vector<std::u16string>& keys,
             std::vector<std::u16string>& values, size_t maxRows, std::vector<size_t>* lines = nullptr)
        : keyColumn_(keyColumn), valueColumn_(valueColumn), encoding_(encoding), keys_(keys), values_(values),
          maxRows_(maxRows), lines_(lines) {}

    bool operator()(std::string_view line) {
        if (++lineNumber_ == 1)  // the header is never data
            return true;
        const std::optional<std::string_view> key = FieldAt(line, keyColumn_);
        if (!key || key->empty()) {
            Found.WithoutKey += line.empty() ? 0 : 1;
            return true;
        }
        const std::optional<std::string_view> value = FieldAt(line, valueColumn_);
        if (!value) {
            ++Found.WithoutValue;
            return true;
        }
        if (Found.Taken == maxRows_) {
            Found.BeyondMaxRows = true;
            return false;
        }
        keys_.push_back(DecodeField(*key, encoding_));
        values_.push_back(DecodeField(*value, encoding_));
        if (lines_)
            lines_->push_back(lineNumber_);
        ++Found.Taken;
        return true;
    }

    TabbedRowCounts Found;

private:
    size_t keyColumn_;
    size_t valueColumn_;
    TabbedEncoding encoding_;
    std::vector<std::u16string>& keys_;
    std::vector<std::u16string>& values_;
    size_t maxRows_;
    std::vector<size_t>* lines_;
    size_t lineNumber_ = 0;
};

// Feeds the lines of `bytes`, handed over by `read`, to `onLine`.
template <typename Read, typename OnLine>
Result ReadLines(TabbedEncoding encoding, TabbedRowCounts* counts, const Read& read, OnLine&& onLine) {
    TextModeLines lines(encoding);
    const Result result = read([&](std::string_view piece) { return lines.Feed(piece, onLine); });
    if (!result)
        return result;
    lines.Finish(onLine);
    if (counts)
        lines.NoteQuirks(*counts);
    return result;
}

// Hands `bytes` over as one piece.
auto InMemory(std::string_view bytes) {
    return [bytes](const auto& take) {
        take(bytes);
        return Result::Success();
    };
}

// Hands the file at `path` over piece by piece.
auto FromFile(const std::u16string& path) {
    return [&path](const auto& take) {
        return ReadTabbedFileInPieces(path, [&](std::span<const uint8_t> piece) { return take(AsText(piece)); });
    };
}

}  // namespace

std::vector<std::u16string> ParseTabbedHeader(std::string_view bytes, TabbedEncoding encoding) {
    std::vector<std::u16string> captions;
    ReadLines(encoding, nullptr, InMemory(bytes), HeaderTaker{captions, encoding});
    return captions;
}

size_t ParseTabbedRows(std::string_view bytes, size_t keyColumn, size_t valueColumn,
                       TabbedEncoding encoding, std::vector<std::u16string>& keys,
                       std::vector<std::u16string>& values, TabbedRowCounts* counts) {
    RowTaker taker(keyColumn, valueColumn, encoding, keys, values, NoTabbedRowLimit);
    ReadLines(encoding, &taker.Found, InMemory(bytes), taker);
    if (counts)
        *counts = taker.Found;
    return taker.Found.Taken;
}

Result ReadTabbedHeader(const std::u16string& path, std::vector<std::u16string>& captions,
                        TabbedEncoding encoding) {
    return ReadLines(encoding, nullptr, FromFile(path), HeaderTaker{captions, encoding});
}

Result ReadTabbedRows(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                      std::vector<std::u16string>& keys, std::vector<std::u16string>& values,
                      TabbedEncoding encoding, TabbedRowCounts* counts, size_t maxRows, std::vector<size_t>* lines) {
    RowTaker taker(keyColumn, valueColumn, encoding, keys, values, maxRows, lines);
    const Result read = ReadLines(encoding, &taker.Found, FromFile(path), taker);
    if (counts)
        *counts = taker.Found;
    return read;
}
