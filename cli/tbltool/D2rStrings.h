#pragma once

// One language column of a Diablo II: Resurrected string file (D2rFile) as a table and back.

#include "D2rFile.h"
#include "TableFiles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

bool IsD2rLanguage(std::string_view language);

// The classic numbering's first id of a table, from its file name: 20000 for an
// expansionstring table, 10000 for a patchstring table, else 0.
int64_t IdBaseOfTableName(std::string_view fileName);

// Where WriteD2rStrings put the entries.
struct D2rPlacement {
    size_t Matched = 0;   // into a row of the existing file
    size_t Appended = 0;  // as new rows
};

// The file with the table as the column `language`. `existing` (the bytes of a file to put the
// column into, or none for a new file in the game's form) keeps every byte but the values that
// change: entries go to rows by Key, the k-th entry with a key to the k-th row with that key;
// an entry no row takes is appended with the next free id (one above the largest, or idBase
// in a file without ids, so a new file numbers entry i as idBase + i). An empty value adds no
// field to a row without the column, as reading gives such a row an empty value. False with `error` when
// an entry holds bytes that are not UTF-8, `existing` cannot be read (D2rFile::Read) or no id
// is left.
bool WriteD2rStrings(const TblDocument& table, int64_t idBase, std::string_view language,
                     std::optional<std::string_view> existing, std::string& bytes, D2rPlacement& placed,
                     std::string& error);

// The entries of one language column, in file order (a row without the column gives an empty
// value; `missing` counts them). False with `error` naming the line for a file D2rFile::Read
// refuses, or the row (from 1) and id for a row that a table file cannot hold as it is
// (TblEntryProblem: a key character above U+00FF, a zero character, a value too long).
// `repeatedIds`, when given, gets the ids more than one row gives (D2rFile::RepeatedIds).
bool ReadD2rStrings(std::string_view bytes, std::string_view language, TblDocument& table, size_t& missing,
                    std::string& error, std::vector<std::string>* repeatedIds = nullptr);
