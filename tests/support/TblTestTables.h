#pragma once

#include "TblDocument.h"

#include <string>
#include <vector>

// A table's keys or values, decoded, to compare with a list of expected ones.
inline std::vector<std::u16string> KeysOf(const TblDocument& table) {
    std::vector<std::u16string> keys;
    for (size_t i = 0; i < table.Count(); ++i)
        keys.push_back(table.Key(i));
    return keys;
}

inline std::vector<std::u16string> ValuesOf(const TblDocument& table) {
    std::vector<std::u16string> values;
    for (size_t i = 0; i < table.Count(); ++i)
        values.push_back(table.Value(i));
    return values;
}

// A new table holding these entries (as many as there are keys; a missing value is empty).
inline TblDocument TableOf(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values = {}) {
    std::vector<TblEntry> entries;
    for (size_t i = 0; i < keys.size(); ++i)
        entries.push_back({keys[i], i < values.size() ? values[i] : std::u16string()});
    TblDocument table;
    table.InsertMany(0, std::move(entries));
    return table;
}

// The bytes of a .tbl file holding these entries, values as given.
inline ByteBuffer TableFileOf(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values) {
    TblBuilt built;
    std::string error;
    TableOf(keys, values).Build(TblValueForm::Exact, built, error);
    return std::move(built.Bytes);
}
