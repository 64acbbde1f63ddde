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
// leading byte-order mark is dropped and bytes that are not UTF-8 are kept as Utf8ToUtf16
// keeps them, so that they compile back into the same bytes.

// A column number that matches no field (a column list without a selection).
inline constexpr size_t NoTabbedColumn = SIZE_MAX;

// The fields of line 1, in order: one empty caption for an empty file or an empty first line.
std::vector<std::u16string> ParseTabbedHeader(std::string_view bytes, TabbedEncoding encoding);

// Appends the key field and the value field of every data row to `keys` and `values`, in file
// order. A row is taken when its key field is there and not empty and its value field is
// there (empty or not); every other row, an empty line among them, adds nothing, so both
// arrays always grow together. Returns the number of rows taken.
size_t ParseTabbedRows(std::string_view bytes, size_t keyColumn, size_t valueColumn,
                       TabbedEncoding encoding, std::vector<std::u16string>& keys,
                       std::vector<std::u16string>& values);

// The same over the file at `path` ("File %s not opened" when it cannot be read).
Result ReadTabbedHeader(const std::u16string& path, std::vector<std::u16string>& captions,
                        TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter);
Result ReadTabbedRows(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                      std::vector<std::u16string>& keys, std::vector<std::u16string>& values,
                      TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter);
