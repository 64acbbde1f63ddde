#pragma once

// A Diablo II: Resurrected string file, kept as its own bytes: a JSON array of rows, each an
// object with "id" (a number), "Key", then the language fields in the game's order.
//
// Reading keeps where every value lies in the bytes; writing copies every byte nobody edited, so
// an untouched file saves to the same bytes. An edited value is written in place, escaped as the
// file escapes; a field or row added copies the line ends and indents of the existing ones.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::array<std::string_view, 13> D2rLanguages = {
    "enUS", "zhTW", "deDE", "esES", "frFR", "itIT", "koKR", "plPL", "esMX", "jaJP", "ptBR", "ruRU", "zhCN"};

// The position of `field` in D2rLanguages, or D2rLanguages.size() when it is no language.
size_t D2rLanguageIndex(std::string_view field);

// The value of an id written as a whole number that fits, such as "12"; none for any other.
std::optional<int64_t> D2rIdValue(std::string_view idText);

// "Key" or a language field of a row.
struct D2rField {
    static constexpr size_t Key = D2rLanguages.size();  // Language of the "Key" field

    size_t Language = Key;
    std::string Text;             // decoded: UTF-8, escapes such as \n turned into their characters
    size_t RawBegin = 0;          // the bytes between the quotes in the file, while unedited
    size_t RawEnd = 0;
    std::optional<std::string> NewRaw;  // the bytes between the quotes once edited or added
    bool Added = false;           // not in the file: written whole after the field before it
};

struct D2rRow {
    std::string IdText;               // the id as the file writes it, any number
    std::optional<int64_t> Id;        // its value when a whole number that fits
    std::vector<D2rField> Fields;     // "Key" and the language fields, in the row's order
    size_t Line = 0;                  // where the row starts, from 1; 0 for an appended row
    size_t Begin = 0, End = 0;        // from its '{' to just after its '}'; both 0 when appended
    size_t GapBegin = 0;              // the ',' and spaces before it start here (a row after another)

    const D2rField& KeyField() const;
    // The field of the language (an index into D2rLanguages), or null when the row lacks it.
    const D2rField* Find(size_t language) const;
};

class D2rFile {
public:
    // A file with no rows, in the game's form: a byte-order mark, CR LF line ends, rows
    // indented by 2 spaces and fields by 4.
    D2rFile();

    // Reads `bytes` (a byte-order mark is optional). False with `error` naming the line for
    // broken JSON, for a row that is not an object, lacks "id" or "Key", gives a field twice
    // or a field of the wrong type; and, as soon as the count passes it, for more rows than
    // a table holds (TblMaxEntries). The file is then left as it was.
    bool Read(std::string bytes, std::string& error);

    const std::vector<D2rRow>& Rows() const { return rows_; }

    // The ids that more than one row gives, as the file writes them, in file order.
    std::vector<std::string> RepeatedIds() const;

    // One above the largest whole-number id, `whenNone` when no row has one; none when the
    // largest is the largest number an id can hold.
    std::optional<int64_t> NextFreeId(int64_t whenNone) const;

    // Sets the language field of a row, adding it after the fields before it in the game's
    // order when the row lacks it. Setting the text it already has changes nothing.
    void SetValue(size_t row, size_t language, std::string_view text);

    // Appends a row {"id": id, "Key": key}, the id written as `idText` gives it; returns its index.
    size_t AppendRow(std::string_view idText, std::string_view key);

    // Keeps the rows at the indices of `order` (each at most once), in that order; the others
    // go with the gap before them. A row keeps the gap before it wherever it goes, and the
    // first row takes none.
    void KeepRows(const std::vector<size_t>& order);

    // The file's bytes with the edits.
    std::string Bytes() const;

private:
    // How the file writes what an addition copies.
    struct Style {
        std::string RowGap;       // between one row's '}' and the next '{', the ',' included
        std::string FirstGap;     // before the first row, in a file that had none
        std::string FieldFirst;   // between '{' and the first name
        std::string FieldGap;     // between one value and the next name, the ',' included
        std::string NameValue;    // between a name's closing quote and its value
        std::string RowEnd;       // between the last value and '}'
        bool EscapeNonAscii = false;
        bool UpperHex = false;
    };

    void WriteRow(const D2rRow& row, std::string& out) const;
    void WriteAddedField(const D2rField& field, std::string& out) const;

    std::string bytes_;
    std::vector<D2rRow> rows_;
    size_t head_ = 0;   // bytes before the first row read (after '[' in a file without rows)
    size_t tail_ = 0;   // where the bytes after the last row read start
    bool hadRows_ = false;
    Style style_;
};
