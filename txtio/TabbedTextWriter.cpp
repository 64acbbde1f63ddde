#include "TabbedTextWriter.h"

#include "TabbedEscapes.h"
#include "TabbedTextFile.h"
#include "Utf.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::string_view HeaderLine = "String Index\tText\n";

// The characters of `text` as one byte each. Returns the first character that has no byte, if any.
std::optional<char16_t> ToFileBytes(const std::u16string& text, std::string& bytes) {
    bytes.resize(text.size());
    char16_t all = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        all |= text[i];
        bytes[i] = static_cast<char>(text[i]);
    }
    if (all > 0xFF)
        return *std::find_if(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; });
    return std::nullopt;
}

// Appends `text` with each line feed replaced by `lineFeed`.
void AppendReplacingLineFeeds(std::string_view text, std::string_view lineFeed, std::string& out) {
    for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n')) {
        out.append(text.substr(0, lf));
        out.append(lineFeed);
        text.remove_prefix(lf + 1);
    }
    out.append(text);
}

// A value's line feeds become backslash and "n", so that each entry stays on one line.
void AppendValue(std::string_view value, std::string& out) { AppendReplacingLineFeeds(value, "\\n", out); }

// The UTF-8 form keeps every entry on one line whatever it holds (TabbedEscapes.h).
void AppendEscapedEntry(const std::u16string& key, const std::u16string& value, std::string& out) {
    if (key.empty())
        out += EmptyKeyEscape;
    else
        AppendEscaped(Utf16ToUtf8(key), out);
    out += '\t';
    AppendEscaped(Utf16ToUtf8(value), out);
}

std::string UnwritableCharacterMessage(size_t index, const std::u16string& key, char16_t c) {
    return "Entry " + std::to_string(index) + " (key \"" + Utf16ToUtf8(key) + "\") holds " + CharacterName(c) +
           ", which a text file of one byte per character cannot hold. Nothing was written.";
}

}  // namespace

Result EncodeTabbedText(const TblDocument& table, TabbedEncoding encoding, std::string& bytes,
                        TabbedLineEnds lineEnds) {
    // A line feed of a key in the one-byte form goes out as a line end, as a text-mode file writes it.
    const std::string_view lineEnd = lineEnds == TabbedLineEnds::Lf ? "\n" : "\r\n";
    bytes.clear();
    AppendReplacingLineFeeds(HeaderLine, lineEnd, bytes);
    std::string text;
    for (size_t i = 0; i < table.Count(); ++i) {
        const TblEntry entry = table.Entry(i);
        if (encoding == TabbedEncoding::Utf8) {
            AppendEscapedEntry(entry.Key, entry.Value, bytes);
            bytes += lineEnd;
            continue;
        }
        std::optional<char16_t> unwritable = ToFileBytes(entry.Key, text);
        if (!unwritable) {
            AppendReplacingLineFeeds(text, lineEnd, bytes);
            bytes += '\t';
            unwritable = ToFileBytes(entry.Value, text);
        }
        if (unwritable) {
            bytes.clear();
            return Result::Failure(UnwritableCharacterMessage(i, entry.Key, *unwritable));
        }
        AppendValue(text, bytes);
        bytes += lineEnd;
    }
    return Result::Success();
}

Result WriteTabbedText(const std::u16string& path, const TblDocument& table, TabbedEncoding encoding) {
    std::string bytes;
    if (Result encoded = EncodeTabbedText(table, encoding, bytes); !encoded)
        return encoded;
    return WriteTabbedFile(path, bytes);
}
