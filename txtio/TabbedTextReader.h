#pragma once

#include "TabbedEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads tabbed text as a text-mode file reads it: CR LF becomes LF (a CR alone stays), a
// Ctrl+Z byte ends the file, a line is everything up to the next LF. Line 1 is the header.
// Lines split at every TAB into fields; nothing is unescaped and no colour code converted.
// With OneBytePerCharacter every byte is the character of the same number; with Utf8 a
// leading byte-order mark is dropped, a Ctrl+Z byte is text, the escapes of TabbedEscapes.h
// are undone in every field, and bytes that are not UTF-8 are kept as Utf8ToUtf16 keeps them,
// so that they compile back into the same bytes.

// A column number that matches no field (a column list without a selection).
inline constexpr size_t NoTabbedColumn = SIZE_MAX;
// Rows to take from a file when the reader need not stop early.
inline constexpr size_t NoTabbedRowLimit = SIZE_MAX;

// What reading the rows found, so that a caller can say which lines were skipped and why.
struct TabbedRowCounts {
    size_t Taken = 0;
    size_t WithoutKey = 0;        // lines, not empty, whose key field is missing or empty
    size_t WithoutValue = 0;      // lines with a key but without the value field
    size_t AfterCtrlZ = 0;        // lines after a Ctrl+Z byte, which ends a one-byte file
    bool ByteOrderMark = false;   // a UTF-8 byte-order mark read as three characters
    bool CrOnlyLineEnds = false;  // CR bytes but no LF: the whole file is one line
    bool BeyondMaxRows = false;   // a row beyond the most to take: reading stopped there

    bool operator==(const TabbedRowCounts&) const = default;
};

// The fields of line 1, in order: one empty caption for an empty file or an empty first line.
std::vector<std::u16string> ParseTabbedHeader(std::string_view bytes, TabbedEncoding encoding);

// Appends the key field and the value field of every data row to `keys` and `values`, in file
// order. A row is taken when its key field is there and not empty and its value field is
// there (empty or not); every other row, an empty line among them, adds nothing, so both
// arrays always grow together. Returns the number of rows taken; `counts`, when given, gets
// what was skipped.
size_t ParseTabbedRows(std::string_view bytes, size_t keyColumn, size_t valueColumn,
                       TabbedEncoding encoding, std::vector<std::u16string>& keys,
                       std::vector<std::u16string>& values, TabbedRowCounts* counts = nullptr);

// The same over the file at `path` ("File %s not opened" when it cannot be read). The file is
// read piece by piece and only as far as needed: the header up to its line end; the rows up to
// the first row beyond `maxRows`, which is not taken (`counts` says BeyondMaxRows). `lines`,
// when given, gets the line number (from 1, the header) of each row taken.
Result ReadTabbedHeader(const std::u16string& path, std::vector<std::u16string>& captions,
                        TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter);
Result ReadTabbedRows(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                      std::vector<std::u16string>& keys, std::vector<std::u16string>& values,
                      TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter,
                      TabbedRowCounts* counts = nullptr, size_t maxRows = NoTabbedRowLimit,
                      std::vector<size_t>* lines = nullptr);
