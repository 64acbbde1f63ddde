#pragma once

#include "TabbedTextReader.h"
#include "TabbedEncoding.h"
#include "TblDocument.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

enum class ImportMode {
    Append,     // rows go after the last entry, whatever their keys
    Overwrite,  // rows are merged by key (MergeEntries)
};

// The import dialog's OK: reads the data rows of the tabbed text file at `path` (key and value
// field numbers as chosen from its captions) and appends them to, or merges them into, the
// table. On failure the table is unchanged: the file cannot be read ("File %s not opened"), or
// the table would grow beyond 65,535 entries. Rows are read only as far as they can fit (for
// Overwrite, 65,535 rows): the first row beyond them ends the reading. With `rowsAs` given,
// every row must be one that a table file can hold with its value written in that form
// (TblEntryProblem); the first that is not fails the import, naming its line ("line 12: the
// value holds a zero character, ..."), before the table is changed.
Result ImportTabbedText(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                        ImportMode mode, TblDocument& table,
                        TabbedEncoding encoding = TabbedEncoding::OneBytePerCharacter,
                        TabbedRowCounts* counts = nullptr, std::optional<TblValueForm> rowsAs = std::nullopt);
