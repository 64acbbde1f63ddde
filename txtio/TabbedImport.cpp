#include "TabbedImport.h"

#include "MergeEntries.h"
#include "TabbedTextReader.h"
#include "TblFormat.h"


Result ImportTabbedText(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                        ImportMode mode, TblDocument& table, TabbedEncoding encoding,
                        TabbedRowCounts* counts) {
    std::vector<std::u16string> rowKeys;
    std::vector<std::u16string> rowValues;
    if (Result read = ReadTabbedRows(path, keyColumn, valueColumn, rowKeys, rowValues, encoding, counts);
        !read)
        return read;
    std::vector<TblEntry> rows(rowKeys.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = {std::move(rowKeys[i]), std::move(rowValues[i])};
    if (mode == ImportMode::Overwrite)
        return MergeEntries(rows, table);

    const size_t tableCount = table.Count(), rowCount = rows.size();
    if (!table.InsertMany(tableCount, std::move(rows)))
        return Result::Failure("The file's " + std::to_string(rowCount) + " rows and the table's " +
                                    std::to_string(tableCount) +
                                    " entries are more than the 65535 a table holds. Nothing was imported.");
    return Result::Success();
}
