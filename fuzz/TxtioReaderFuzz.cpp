// The tabbed-text reader on any bytes: the first byte picks the encoding and the two columns,
// the rest is the file. Rows come in pairs, with a key each in the one-byte form (the UTF-8
// form can spell an empty key), and writing them out and reading that back gives the same rows.

#include "TabbedTextReader.h"
#include "TabbedTextWriter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const auto encoding = choice & 0x80 ? TabbedEncoding::Utf8 : TabbedEncoding::OneBytePerCharacter;
    const size_t keyColumn = choice & 0x07;
    const size_t valueColumn = (choice >> 3) & 0x07;
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

    if (ParseTabbedHeader(file, encoding).empty())
        __builtin_trap();
    std::vector<std::u16string> keys, values;
    const size_t taken = ParseTabbedRows(file, keyColumn, valueColumn, encoding, keys, values);
    if (taken != keys.size() || keys.size() != values.size())
        __builtin_trap();
    for (const std::u16string& key : keys)
        if (key.empty() && encoding == TabbedEncoding::OneBytePerCharacter)
            __builtin_trap();

    std::vector<TblEntry> entries(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        entries[i] = {keys[i], values[i]};
    TblDocument table;
    std::string written;
    if (!table.InsertMany(0, std::move(entries)) || !EncodeTabbedText(table, encoding, written))
        __builtin_trap();
    std::vector<std::u16string> keysAgain, valuesAgain;
    ParseTabbedRows(written, 0, 1, encoding, keysAgain, valuesAgain);
    if (keysAgain != keys || valuesAgain != values)
        __builtin_trap();
    return 0;
}
