#include "D2rFile.h"

#include "JsonTokenizer.h"
#include "TblFormat.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// A field's place in the game's order: "Key" before every language.
int FieldOrder(size_t language) { return language == D2rField::Key ? -1 : static_cast<int>(language); }

std::string_view FieldName(size_t language) { return language == D2rField::Key ? "Key" : D2rLanguages[language]; }

// The end of a value token in the bytes: after a string's closing quote, after anything else.
size_t OuterEnd(const JsonToken& token) { return token.Kind == JsonTokenKind::String ? token.End + 1 : token.End; }
size_t OuterBegin(const JsonToken& token) { return token.Kind == JsonTokenKind::String ? token.Begin - 1 : token.Begin; }

std::string_view TypeName(JsonTokenKind kind) {
    switch (kind) {
    case JsonTokenKind::String: return "a string";
    case JsonTokenKind::Number: return "a number";
    case JsonTokenKind::BeginArray: return "an array";
    case JsonTokenKind::BeginObject: return "an object";
    default: return "true, false or null";
    }
}

}  // namespace

std::optional<int64_t> D2rIdValue(std::string_view idText) {
    int64_t value = 0;
    const auto [end, fault] = std::from_chars(idText.data(), idText.data() + idText.size(), value);
    if (fault != std::errc() || end != idText.data() + idText.size())
        return std::nullopt;
    return value;
}

size_t D2rLanguageIndex(std::string_view field) {
    return static_cast<size_t>(std::find(D2rLanguages.begin(), D2rLanguages.end(), field) - D2rLanguages.begin());
}

const D2rField& D2rRow::KeyField() const { return *Find(D2rField::Key); }

const D2rField* D2rRow::Find(size_t language) const {
    const auto found = std::find_if(Fields.begin(), Fields.end(), [&](const D2rField& f) { return f.Language == language; });
    return found == Fields.end() ? nullptr : &*found;
}

D2rFile::D2rFile() : bytes_(std::string(ByteOrderMark) + "[\r\n]\r\n") {
    head_ = tail_ = ByteOrderMark.size() + 1;
    style_ = {",\r\n  ", "\r\n  ", "\r\n    ", ",\r\n    ", ": ", "\r\n  "};
}

bool D2rFile::Read(std::string bytes, std::string& error) {
    D2rFile file;
    file.bytes_ = std::move(bytes);
    const std::string_view text = file.bytes_;
    JsonTokenizer tokens(text, text.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0);
    JsonToken token;
    if (!tokens.Next(token, error))
        return false;
    if (token.Kind != JsonTokenKind::BeginArray) {
        error = "the file is not a JSON array of rows";
        return false;
    }
    file.head_ = file.tail_ = token.End;
    Style& style = file.style_;
    if (text.find('\n') != std::string_view::npos && text.find("\r\n") == std::string_view::npos)
        style = {",\n  ", "\n  ", "\n    ", ",\n    ", ": ", "\n  "};
    for (;;) {
        if (!tokens.Next(token, error))
            return false;
        if (token.Kind == JsonTokenKind::EndArray)
            break;
        const size_t number = file.rows_.size() + 1, line = token.Line;
        const auto where = [&] { return "row " + std::to_string(number) + " (line " + std::to_string(line) + ")"; };
        if (file.rows_.size() == TblMaxEntries) {
            error = where() + ": the file has more rows than a table holds (65,535)";
            return false;
        }
        if (token.Kind != JsonTokenKind::BeginObject) {
            error = where() + " is not an object";
            return false;
        }
        D2rRow row;
        row.Line = token.Line;
        row.Begin = token.Begin;
        row.GapBegin = file.rows_.empty() ? row.Begin : file.rows_.back().End;
        const size_t depth = tokens.Depth();
        size_t valueEnd = token.End;  // where the last value (or the '{') ends
        std::set<std::string> names;  // the known fields given so far
        bool firstField = true;
        for (;;) {
            if (!tokens.Next(token, error))
                return false;
            if (token.Kind == JsonTokenKind::EndObject) {
                style.RowEnd = text.substr(valueEnd, token.Begin - valueEnd);
                break;
            }
            // A name: the gap before it is the row's first or one between fields.
            (firstField ? style.FieldFirst : style.FieldGap) = text.substr(valueEnd, token.Begin - 1 - valueEnd);
            firstField = false;
            std::string name = DecodeJsonString(text.substr(token.Begin, token.End - token.Begin));
            const size_t nameEnd = token.End + 1;
            if (!tokens.Next(token, error))
                return false;
            style.NameValue = text.substr(nameEnd, OuterBegin(token) - nameEnd);
            const JsonTokenKind kind = token.Kind;
            const size_t language = name == "Key" ? D2rField::Key : D2rLanguageIndex(name);
            const bool known = name == "id" || name == "Key" || language < D2rLanguages.size();
            if (known && !names.insert(name).second) {
                error = where() + " gives \"" + name + "\" twice";
                return false;
            }
            const JsonTokenKind wanted = name == "id" ? JsonTokenKind::Number : JsonTokenKind::String;
            if (known && kind != wanted) {
                error = where() + ": \"" + name + "\" is " + std::string(TypeName(kind)) + ", not " +
                        std::string(TypeName(wanted));
                return false;
            }
            if (name == "id") {
                row.IdText = text.substr(token.Begin, token.End - token.Begin);
                row.Id = D2rIdValue(row.IdText);
            } else if (known) {
                const std::string_view raw = text.substr(token.Begin, token.End - token.Begin);
                row.Fields.push_back({language, DecodeJsonString(raw), token.Begin, token.End, std::nullopt, false});
            }
            // Any other value is passed over, however deeply nested.
            while (tokens.Depth() > depth)
                if (!tokens.Next(token, error))
                    return false;
            valueEnd = OuterEnd(token);
        }
        row.End = token.End;
        for (const std::string_view needed : {"id", "Key"})
            if (!names.contains(std::string(needed))) {
                error = where() + ": \"" + std::string(needed) + "\" is missing";
                return false;
            }
        style.RowGap = file.rows_.empty() ? "," + std::string(text.substr(file.head_, row.Begin - file.head_))
                                          : std::string(text.substr(row.GapBegin, row.Begin - row.GapBegin));
        file.rows_.push_back(std::move(row));
    }
    if (!file.rows_.empty()) {
        file.head_ = file.rows_.front().Begin;
        file.tail_ = file.rows_.back().End;
        file.hadRows_ = true;
    }
    if (!tokens.Next(token, error))
        return false;
    style.EscapeNonAscii = tokens.SawEscapedNonAscii() && !tokens.SawRawNonAscii();
    style.UpperHex = tokens.SawUpperHex();
    *this = std::move(file);
    return true;
}

std::vector<std::string> D2rFile::RepeatedIds() const {
    std::set<std::string> seen, reported;
    std::vector<std::string> repeated;
    for (const D2rRow& row : rows_) {
        std::string id = row.Id ? std::to_string(*row.Id) : row.IdText;
        if (!seen.insert(id).second && reported.insert(id).second)
            repeated.push_back(std::move(id));
    }
    return repeated;
}

std::optional<int64_t> D2rFile::NextFreeId(int64_t whenNone) const {
    std::optional<int64_t> largest;
    for (const D2rRow& row : rows_)
        if (row.Id && (!largest || *row.Id > *largest))
            largest = row.Id;
    if (!largest)
        return whenNone;
    if (*largest == INT64_MAX)
        return std::nullopt;
    return *largest + 1;
}

void D2rFile::SetValue(size_t row, size_t language, std::string_view text) {
    std::vector<D2rField>& fields = rows_.at(row).Fields;
    const auto found = std::find_if(fields.begin(), fields.end(), [&](const D2rField& f) { return f.Language == language; });
    std::string raw = EncodeJsonString(text, style_.EscapeNonAscii, style_.UpperHex);
    if (found != fields.end()) {
        if (found->Text != text) {
            found->Text = text;
            found->NewRaw = std::move(raw);
        }
        return;
    }
    // After the last field that comes before it in the game's order ("Key" at least).
    auto after = fields.end();
    for (auto f = fields.begin(); f != fields.end(); ++f)
        if (FieldOrder(f->Language) < FieldOrder(language))
            after = f;
    fields.insert(after == fields.end() ? fields.end() : after + 1,
                  {language, std::string(text), 0, 0, std::move(raw), true});
}

size_t D2rFile::AppendRow(std::string_view idText, std::string_view key) {
    D2rRow row;
    row.IdText = idText;
    row.Id = D2rIdValue(idText);
    row.Fields.push_back(
        {D2rField::Key, std::string(key), 0, 0, EncodeJsonString(key, style_.EscapeNonAscii, style_.UpperHex), true});
    rows_.push_back(std::move(row));
    return rows_.size() - 1;
}

void D2rFile::KeepRows(const std::vector<size_t>& order) {
    std::vector<D2rRow> kept;
    kept.reserve(order.size());
    for (size_t row : order)
        kept.push_back(std::move(rows_.at(row)));
    rows_ = std::move(kept);
}

void D2rFile::WriteAddedField(const D2rField& field, std::string& out) const {
    out += style_.FieldGap;
    out += '"';
    out += FieldName(field.Language);
    out += '"';
    out += style_.NameValue;
    out += '"';
    out += *field.NewRaw;
    out += '"';
}

void D2rFile::WriteRow(const D2rRow& row, std::string& out) const {
    const bool appended = row.End == 0;
    size_t pos = row.Begin;
    if (appended)
        out += "{" + style_.FieldFirst + "\"id\"" + style_.NameValue + row.IdText;
    for (const D2rField& field : row.Fields) {
        if (field.Added) {
            WriteAddedField(field, out);
            continue;
        }
        out.append(bytes_, pos, field.RawBegin - pos);
        if (field.NewRaw)
            out += *field.NewRaw;
        else
            out.append(bytes_, field.RawBegin, field.RawEnd - field.RawBegin);
        out += '"';
        pos = field.RawEnd + 1;
    }
    if (appended)
        out += style_.RowEnd + "}";
    else
        out.append(bytes_, pos, row.End - pos);
}

std::string D2rFile::Bytes() const {
    std::string out;
    out.reserve(bytes_.size() + bytes_.size() / 16);
    out.append(bytes_, 0, head_);
    for (size_t r = 0; r < rows_.size(); ++r) {
        const D2rRow& row = rows_[r];
        if (r > 0)
            out += row.GapBegin < row.Begin ? bytes_.substr(row.GapBegin, row.Begin - row.GapBegin) : style_.RowGap;
        else if (!hadRows_)
            out += style_.FirstGap;
        WriteRow(row, out);
    }
    out.append(bytes_, tail_);
    return out;
}
