#pragma once

// Diablo II: Resurrected string files: a JSON array of objects {"id", "Key", then the language
// columns in the game's order}, UTF-8 with a byte-order mark. Values are the text itself: line
// breaks as \n escapes, the colour prefix ÿ as the literal character.

#include "TableFiles.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::array<std::string_view, 13> D2rLanguages = {
    "enUS", "zhTW", "deDE", "esES", "frFR", "itIT", "koKR", "plPL", "esMX", "jaJP", "ptBR", "ruRU", "zhCN"};

bool IsD2rLanguage(std::string_view language);

// The classic numbering's first id of a table, from its file name: 20000 for an
// expansionstring table, 10000 for a patchstring table, else 0.
int64_t IdBaseOfTableName(std::string_view fileName);

// The file of one language column: entry i has id idBase + i. `existing` (the bytes of a file
// to add the column to, or empty) keeps its rows and fields; a row with the same id and Key
// takes the column, placed among the language fields in the game's order, and entries no row
// matches are appended. False with `error` when an entry holds bytes that are not UTF-8 or
// `existing` cannot be read (see ReadD2rStrings).
bool WriteD2rStrings(const TblDocument& table, int64_t idBase, std::string_view language,
                     std::optional<std::string_view> existing, std::string& bytes, std::string& error);

// The entries of one language column, in id order (a row without the column gives an empty
// value; `missing` counts them). A missing byte-order mark is accepted. False with `error`
// naming the row (from 1) or the line for broken JSON, a field of the wrong type, a row
// without id or Key, an id given twice, or a row that a table file cannot hold as it is
// (TblEntryProblem: a key character above U+00FF, a zero character, a value too long).
bool ReadD2rStrings(std::string_view bytes, std::string_view language, TblDocument& table, size_t& missing,
                    std::string& error);
