#include "TabbedImport.h"

#include "MergeEntries.h"
#include "TabbedTextReader.h"
#include "TblFormat.h"

#include <algorithm>

namespace {

// "more than the 65535 a table holds", said of the rows a file holds beyond `room`.
Result TooManyRows(size_t room, size_t tableEntries, ImportMode mode) {
    const std::string rows = "The file has more than " + std::to_string(room) + " rows";
    if (mode == ImportMode::Overwrite)
        return Result::Failure(rows + ", more than the 65535 a table holds. Nothing was imported.");
    return Result::Failure(rows + "; with the table's " + std::to_string(tableEntries) +
                           " entries that is more than the 65535 a table holds. Nothing was imported.");
}

}  // namespace

Result ImportTabbedText(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                        ImportMode mode, TblDocument& table, TabbedEncoding encoding,
                        TabbedRowCounts* counts, std::optional<TblValueForm> rowsAs) {
    // Reading stops at the first row that could not fit, so that an oversized file is neither
    // decoded nor held whole. Appended rows must fit beside the table's entries; merged rows
    // can be no more than a table holds, as a file of one table's entries never is.
    const size_t room =
        mode == ImportMode::Append ? TblMaxEntries - std::min<size_t>(table.Count(), TblMaxEntries) : TblMaxEntries;
    std::vector<std::u16string> rowKeys;
    std::vector<std::u16string> rowValues;
    std::vector<size_t> lines;
    TabbedRowCounts found;
    if (Result read = ReadTabbedRows(path, keyColumn, valueColumn, rowKeys, rowValues, encoding, &found, room,
                                     rowsAs ? &lines : nullptr);
        !read)
        return read;
    if (counts)
        *counts = found;
    if (found.BeyondMaxRows)
        return TooManyRows(room, table.Count(), mode);
    for (size_t i = 0; rowsAs && i < rowKeys.size(); ++i)
        if (std::string problem = TblEntryProblem(rowKeys[i], rowValues[i], *rowsAs); !problem.empty())
            return Result::Failure("line " + std::to_string(lines[i]) + ": " + problem + ". Nothing was imported.");
    std::vector<TblEntry> rows(rowKeys.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = {std::move(rowKeys[i]), std::move(rowValues[i])};
    if (mode == ImportMode::Overwrite)
        return MergeEntries(rows, table);

    // The rows were read only as far as they fit, so the table takes them all.
    if (!table.InsertMany(table.Count(), std::move(rows)))
        return TooManyRows(room, table.Count(), mode);
    return Result::Success();
}
