#pragma once

#include "TblTestTables.h"

#include <filesystem>
#include <string>
#include <vector>

// The path as the messages name it (UTF-8).
inline std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

inline std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

using Strings = std::vector<std::u16string>;

// A table's two parallel arrays.
struct Table {
    Strings Keys;
    Strings Values;
};

// The table as a document, and a document's entries as the two arrays.
inline TblDocument DocumentOf(const Table& table) { return TableOf(table.Keys, table.Values); }
inline Table EntriesOf(const TblDocument& document) { return {KeysOf(document), ValuesOf(document)}; }

// The first line of every exported file.
inline const std::string ExportHeaderLine = "String Index\tText\r\n";
