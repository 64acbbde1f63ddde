#include "TabbedImport.h"

#include "MergeEntries.h"
#include "TabbedTextReader.h"
#include "TblFormat.h"

#include <iterator>

Result ImportTabbedText(const std::u16string& path, size_t keyColumn, size_t valueColumn,
                        ImportMode mode, std::vector<std::u16string>& keys,
                        std::vector<std::u16string>& values, TabbedEncoding encoding,
                        TabbedRowCounts* counts) {
    std::vector<std::u16string> rowKeys;
    std::vector<std::u16string> rowValues;
    if (Result read = ReadTabbedRows(path, keyColumn, valueColumn, rowKeys, rowValues, encoding, counts);
        !read)
        return read;
    if (mode == ImportMode::Overwrite)
        return MergeEntries(rowKeys, rowValues, keys, values);

    if (keys.size() + rowKeys.size() > TblMaxEntries)
        return Result::Failure("The file's " + std::to_string(rowKeys.size()) + " rows and the table's " +
                                    std::to_string(keys.size()) +
                                    " entries are more than the 65535 a table holds. Nothing was imported.");
    keys.insert(keys.end(), std::make_move_iterator(rowKeys.begin()), std::make_move_iterator(rowKeys.end()));
    values.insert(values.end(), std::make_move_iterator(rowValues.begin()),
                  std::make_move_iterator(rowValues.end()));
    return Result::Success();
}
